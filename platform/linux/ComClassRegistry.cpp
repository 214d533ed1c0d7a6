#include "platform/linux/ComClassRegistry.h"

#include <cwctype>
#include <mutex>
#include <vector>

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<ComClassRegistration> classes;
};

// Constructed on first use, so that registrations from other static initialisers find it.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

bool SameProgId(LPCOLESTR a, LPCOLESTR b) {
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (std::towlower(static_cast<wint_t>(*a)) != std::towlower(static_cast<wint_t>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

}  // namespace

bool RegisterComClass(const ComClassRegistration& registration) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    for (ComClassRegistration& known : registry.classes) {
        if (known.clsid == registration.clsid) {
            known = registration;
            return true;
        }
    }
    registry.classes.push_back(registration);
    return true;
}

std::optional<ComClassRegistration> FindComClass(LPCOLESTR progId) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    for (const ComClassRegistration& known : registry.classes) {
        if (SameProgId(known.progId, progId)) {
            return known;
        }
    }
    return std::nullopt;
}

std::optional<ComClassRegistration> FindComClass(REFCLSID clsid) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    for (const ComClassRegistration& known : registry.classes) {
        if (known.clsid == clsid) {
            return known;
        }
    }
    return std::nullopt;
}

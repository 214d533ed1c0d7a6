// Stand-ins for COM initialisation and activation (ole32). Activation reaches the classes that
// the program registered in-process (ComClassRegistry.h).
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/Platform.h"
#include "platform/linux/ComClassRegistry.h"
#include "platform/linux/WindowList.h"

namespace {

// Each thread's CoInitialize count, as COM keeps it per thread, and its apartment's window.
thread_local int apartmentEntries = 0;
thread_local HWND apartmentWindow = nullptr;

}  // namespace

HRESULT CoInitialize(LPVOID /*reserved*/) {
    if (apartmentEntries++ > 0) {
        return S_FALSE;
    }
    apartmentWindow = WindowList::Instance().CreateMessageOnly(L"OleMainThreadWndClass", nullptr);
    return S_OK;
}

void CoUninitialize() {
    if (apartmentEntries > 0 && --apartmentEntries == 0) {
        WindowList::Instance().Destroy(apartmentWindow);
        apartmentWindow = nullptr;
    }
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
    if (progId == nullptr || clsid == nullptr) {
        return E_INVALIDARG;
    }
    const std::optional<ComClassRegistration> known = FindComClass(progId);
    if (!known || !known->isRegistered()) {
        return CO_E_CLASSSTRING;
    }
    *clsid = known->clsid;
    return S_OK;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid,
                         LPVOID* object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (apartmentEntries == 0) {
        return CO_E_NOTINITIALIZED;
    }
    // Registered classes are local servers, as PowerPoint is.
    const std::optional<ComClassRegistration> known = FindComClass(clsid);
    if (!known || (context & CLSCTX_LOCAL_SERVER) == 0 || !known->isRegistered()) {
        return REGDB_E_CLASSNOTREG;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    IUnknown* created = nullptr;
    const HRESULT started = known->create(&created);
    if (FAILED(started)) {
        return started;
    }
    const HRESULT answered = created->QueryInterface(riid, object);
    created->Release();
    return answered;
}

// ---- The running object table's class entries -----------------------------------------------

namespace {

struct ActiveObject {
    DWORD registration;
    CLSID clsid;
    IUnknown* object;
    bool strong;
};

struct ActiveObjects {
    std::mutex mutex;
    DWORD lastRegistration = 0;
    std::vector<ActiveObject> entries;  // registration order
};

ActiveObjects& TheActiveObjects() {
    // Never destroyed: a program may revoke its entry while the process exits.
    static ActiveObjects* const table = new ActiveObjects();
    return *table;
}

}  // namespace

HRESULT RegisterActiveObject(IUnknown* object, REFCLSID clsid, DWORD flags, DWORD* registration) {
    if (object == nullptr || registration == nullptr) {
        return E_INVALIDARG;
    }
    const bool strong = (flags & ACTIVEOBJECT_WEAK) == 0;
    if (strong) {
        object->AddRef();
    }
    ActiveObjects& table = TheActiveObjects();
    std::lock_guard<std::mutex> lock(table.mutex);
    bool taken = false;
    for (const ActiveObject& entry : table.entries) {
        taken = taken || entry.clsid == clsid;
    }
    *registration = ++table.lastRegistration;
    table.entries.push_back({*registration, clsid, object, strong});
    return taken ? MK_S_MONIKERALREADYREGISTERED : S_OK;
}

HRESULT RevokeActiveObject(DWORD registration, void* /*reserved*/) {
    ActiveObject revoked{};
    {
        ActiveObjects& table = TheActiveObjects();
        std::lock_guard<std::mutex> lock(table.mutex);
        auto found = std::find_if(table.entries.begin(), table.entries.end(),
                                  [registration](const ActiveObject& entry) {
                                      return entry.registration == registration;
                                  });
        if (found == table.entries.end()) {
            return E_INVALIDARG;
        }
        revoked = *found;
        table.entries.erase(found);
    }
    if (revoked.strong) {
        revoked.object->Release();
    }
    return S_OK;
}

HRESULT GetActiveObject(REFCLSID clsid, void* /*reserved*/, IUnknown** object) {
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    *object = nullptr;
    if (apartmentEntries == 0) {
        return CO_E_NOTINITIALIZED;
    }
    ActiveObjects& table = TheActiveObjects();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (const ActiveObject& entry : table.entries) {
        if (entry.clsid == clsid) {
            // Under the lock: the owner of a weak entry revokes it before letting go.
            entry.object->AddRef();
            *object = entry.object;
            return S_OK;
        }
    }
    return MK_E_UNAVAILABLE;
}

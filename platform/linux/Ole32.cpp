// Stand-ins for COM initialisation and activation (ole32). Activation reaches the classes that
// the program registered in-process (ComClassRegistry.h).
#include "platform/Platform.h"
#include "platform/linux/ComClassRegistry.h"

namespace {

// Each thread's CoInitialize count, as COM keeps it per thread.
thread_local int apartmentEntries = 0;

}  // namespace

HRESULT CoInitialize(LPVOID /*reserved*/) {
    return apartmentEntries++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (apartmentEntries > 0) {
        --apartmentEntries;
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

// Stand-ins for COM initialisation and activation (ole32). Activation of the one class we know,
// "PowerPoint.Application", reaches the simulated PowerPoint in-process.
#include <cwctype>

#include "platform/Platform.h"
#include "sim/SimulationActivation.h"
#include "sim/SimulationIds.h"

namespace {

// Each thread's CoInitialize count, as COM keeps it per thread.
thread_local int apartmentEntries = 0;

// ProgIDs are registry key names, which Windows compares without regard to ASCII case.
bool SameProgId(LPCOLESTR a, LPCOLESTR b) {
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (std::towlower(static_cast<wint_t>(*a)) != std::towlower(static_cast<wint_t>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

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
    if (!SameProgId(progId, pptsim::kSimulatedProgId) || !pptsim::IsApplicationRegistered()) {
        return CO_E_CLASSSTRING;
    }
    *clsid = pptsim::CLSID_SimulatedPowerPoint;
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
    if (clsid != pptsim::CLSID_SimulatedPowerPoint || (context & CLSCTX_LOCAL_SERVER) == 0 ||
        !pptsim::IsApplicationRegistered()) {
        return REGDB_E_CLASSNOTREG;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    IDispatch* application = nullptr;
    const HRESULT created = pptsim::ActivateApplication(&application);
    if (FAILED(created)) {
        return created;
    }
    const HRESULT answered = application->QueryInterface(riid, object);
    application->Release();
    return answered;
}

#include "automation/PowerPointActivation.h"

#include "automation/PowerPointEvents.h"
#include "automation/PowerPointSurface.h"

PowerPointActivation ActivatePowerPoint() {
    PowerPointActivation activation;
    CLSID& classId = activation.classId;
    activation.lookup = CLSIDFromProgID(PowerPointSurface::kProgId, &classId);
    if (FAILED(activation.lookup)) {
        return activation;
    }
    activation.creation =
        CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                         reinterpret_cast<void**>(activation.application.Receive()));
    if (FAILED(activation.creation)) {
        activation.application.Reset();
    }
    return activation;
}

namespace {

DispatchPtr AttachToRunningPowerPoint(const CLSID& classId) {
    IUnknown* running = nullptr;
    if (FAILED(GetActiveObject(classId, nullptr, &running)) || running == nullptr) {
        return DispatchPtr();
    }
    DispatchPtr application;
    const HRESULT asked =
        running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application.Receive()));
    running->Release();
    if (FAILED(asked)) {
        application.Reset();
    }
    return application;
}

}  // namespace

DispatchPtr ReacquirePowerPoint(const CLSID& classId, bool mayStart) {
    DispatchPtr application = AttachToRunningPowerPoint(classId);
    if (application) {
        NotePowerPointAttachedAgain();
    }
    if (application || !mayStart) {
        return application;
    }
    const HRESULT creation = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                              reinterpret_cast<void**>(application.Receive()));
    if (FAILED(creation)) {
        NotePowerPointNotCreatable(creation);
        application.Reset();
    } else {
        NotePowerPointStartedForLoad();
    }
    return application;
}

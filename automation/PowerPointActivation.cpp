#include "automation/PowerPointActivation.h"

#include "automation/PowerPointDiagnostics.h"
#include "automation/PowerPointSurface.h"
#include "support/PowerPointWindows.h"

namespace {

// Creates PowerPoint's application object, or joins the running one; counted while it runs.
HRESULT CreatePowerPoint(const CLSID& classId, DispatchPtr& application, PowerPointStarts& starts) {
    const PowerPointStarts::Scope counted(starts);
    const HRESULT created = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                             reinterpret_cast<void**>(application.Receive()));
    if (FAILED(created)) {
        application.Reset();
    }
    return created;
}

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

PowerPointActivation ActivatePowerPoint(PowerPointStarts& starts) {
    PowerPointActivation activation;
    activation.lookup = CLSIDFromProgID(PowerPointSurface::kProgId, &activation.classId);
    if (SUCCEEDED(activation.lookup)) {
        activation.creation = CreatePowerPoint(activation.classId, activation.application, starts);
    }
    return activation;
}

PowerPointActivation ActivatePowerPoint() {
    PowerPointStarts uncounted;
    return ActivatePowerPoint(uncounted);
}

Reacquisition ReacquirePowerPoint(const CLSID& classId, Reach reach, PowerPointStarts& starts) {
    Reacquisition reached;
    reached.application = AttachToRunningPowerPoint(classId);
    if (reached.application) {
        NotePowerPointAttachedAgain();
        return reached;
    }
    const bool running = reach != Reach::Attach && AnyPowerPointFrame();
    if (!running && reach != Reach::AttachJoinOrStart) {
        return reached;
    }
    reached.creation = CreatePowerPoint(classId, reached.application, starts);
    if (FAILED(reached.creation)) {
        NotePowerPointNotCreatable(reached.creation);
    } else if (running) {
        NotePowerPointAttachedAgain();
    } else {
        NotePowerPointStartedForLoad();
    }
    return reached;
}

bool IsActivationRefused(HRESULT creation) {
    return creation == CO_E_SERVER_EXEC_FAILURE || creation == E_ACCESSDENIED;
}

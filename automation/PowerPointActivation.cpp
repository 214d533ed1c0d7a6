#include "automation/PowerPointActivation.h"

#include "automation/PowerPointSurface.h"

PowerPointActivation ActivatePowerPoint() {
    PowerPointActivation activation;
    CLSID classId;
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

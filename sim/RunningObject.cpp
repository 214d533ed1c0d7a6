#include "sim/RunningObject.h"

#include "sim/SimObject.h"
#include "sim/SimulationIds.h"

namespace pptsim {

void RunningObject::Register(std::uint64_t instance) {
    std::lock_guard<std::mutex> lock(mutex);
    RevokeLocked();
    application =
        ComPtr<IDispatch>::Adopt(SimObject::CreateUncounted({ObjectKind::Application, instance}));
    if (FAILED(RegisterActiveObject(application.Get(), CLSID_SimulatedPowerPoint, ACTIVEOBJECT_WEAK,
                                    &registration))) {
        registration = 0;
        application.Reset();
    }
}

void RunningObject::Revoke() {
    std::lock_guard<std::mutex> lock(mutex);
    RevokeLocked();
}

void RunningObject::RevokeLocked() {
    if (registration != 0) {
        RevokeActiveObject(registration, nullptr);
        registration = 0;
    }
    application.Reset();
}

}  // namespace pptsim

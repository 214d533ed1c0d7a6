// Registers the simulated PowerPoint with the Linux COM stand-in when the program starts, so
// that activating "PowerPoint.Application" reaches it in-process. Linked as an object, never
// from a static library: the linker would drop a file that nothing calls.
#include "platform/Platform.h"
#include "platform/linux/ComClassRegistry.h"
#include "sim/SimulationActivation.h"
#include "sim/SimulationIds.h"

namespace pptsim {
namespace {

HRESULT CreateApplication(IUnknown** object) {
    IDispatch* application = nullptr;
    const HRESULT activated = ActivateApplication(&application);
    *object = application;
    return activated;
}

const bool registered = RegisterComClass(
    {kSimulatedProgId, CLSID_SimulatedPowerPoint, &IsApplicationRegistered, &CreateApplication});

}  // namespace
}  // namespace pptsim

// The two entry points through which the Linux stand-in of COM activation reaches the
// simulated PowerPoint. Nothing else of the simulation is visible to platform/.
#pragma once

#include "platform/Platform.h"

namespace pptsim {

// Whether the current scenario registers the application class (its "registered" member).
bool IsApplicationRegistered();

// Hands out a new reference to the application object of the running simulated PowerPoint,
// starting one from the current scenario when none runs. CO_E_SERVER_EXEC_FAILURE when the
// scenario makes PowerPoint unavailable.
HRESULT ActivateApplication(IDispatch** application);

}  // namespace pptsim

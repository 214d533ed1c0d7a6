// How a program hands out the simulated PowerPoint as a COM class: the in-process registration
// on Linux (linux/LinuxComClass.cpp) and the local server's class factory under Windows
// (server/ClassFactory.cpp) both go through these two calls.
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

// How a program hands out the simulated PowerPoint as a COM class: the in-process registration
// on Linux (linux/LinuxComClass.cpp) and the local server's class factory under Windows
// (server/ClassFactory.cpp) both go through these two calls.
#pragma once

#include <functional>

#include "platform/Platform.h"

namespace pptsim {

// Whether the current scenario registers the application class (its "registered" member).
bool IsApplicationRegistered();

// Hands out a new reference to the application object of the running simulated PowerPoint,
// starting one from the current scenario when none runs. CO_E_SERVER_EXEC_FAILURE when the
// scenario makes PowerPoint unavailable.
HRESULT ActivateApplication(IDispatch** application);

// Whether the scenario's PowerPoint registers itself in the running object table ("rot"). A
// local server that never does registers its class object for every activation instead, so
// that CoCreateInstance still reaches the running PowerPoint.
bool RegistersRunningObject();

// How PowerPoint comes back by itself after it exited ("restart"): by default a thread of this
// process starts it again after the time; a local server, whose process ends with its
// PowerPoint, sets a launcher that starts a new process instead, which calls RestartApplication.
void SetRestartLauncher(std::function<void(int afterMs)> launcher);
// Starts PowerPoint at once as the scenario's "restart" has it (traced "restart PowerPoint").
// False when the scenario has none or PowerPoint runs already.
bool RestartApplication();

}  // namespace pptsim

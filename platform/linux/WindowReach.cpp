// The stand-in's window list holds this process's windows only.
#include "platform/ProcessWindows.h"

bool CanSeeWindowsOf(DWORD processId) {
    return processId == GetCurrentProcessId();
}

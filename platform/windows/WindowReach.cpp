// user32 lists the windows of every process of the desktop.
#include "platform/ProcessWindows.h"

bool CanSeeWindowsOf(DWORD /*processId*/) {
    return true;
}

// The stand-ins activate classes within the process: no server is started.
#include "platform/ServerLaunch.h"

bool LocalServersStartInClientProcess() {
    return false;
}

#include "platform/linux/SharedWait.h"

SharedWait& SharedWait::Instance() {
    // Never destroyed: threads that outlive main may still wait.
    static SharedWait* const instance = new SharedWait();
    return *instance;
}

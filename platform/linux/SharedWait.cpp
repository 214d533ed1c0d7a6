#include "platform/linux/SharedWait.h"

#include <algorithm>

SharedWait& SharedWait::Instance() {
    // Never destroyed: threads that outlive main may still wait.
    static SharedWait* const instance = new SharedWait();
    return *instance;
}

void SharedWait::WakeEventWaitersLocked(HANDLE event) {
    for (Waiter* waiter : waiters) {
        const WaitReasons& reasons = waiter->reasons;
        if (std::find(reasons.events, reasons.events + reasons.eventCount, event) !=
            reasons.events + reasons.eventCount) {
            waiter->wake.notify_one();
        }
    }
}

void SharedWait::WakeQueueWaiterLocked(DWORD thread) {
    for (Waiter* waiter : waiters) {
        if (waiter->reasons.queueThread == thread) {
            waiter->wake.notify_one();
        }
    }
}

void SharedWait::WakeAllLocked() {
    for (Waiter* waiter : waiters) {
        waiter->wake.notify_one();
    }
}

void SharedWait::WaitLocked(std::unique_lock<std::mutex>& lock, const WaitReasons& reasons,
                            const std::chrono::steady_clock::time_point* end) {
    Waiter self{reasons, {}};
    waiters.push_back(&self);
    if (end == nullptr) {
        self.wake.wait(lock);
    } else {
        self.wake.wait_until(lock, *end);
    }
    waiters.erase(std::find(waiters.begin(), waiters.end(), &self));
}

#include "actions/TimerWait.h"

bool WaitOnSteadyClock(std::condition_variable& wakeUp, std::unique_lock<std::mutex>& lock,
                       std::chrono::milliseconds interval, const std::function<bool()>& stopped) {
    // The predicate keeps spurious wake-ups from shortening the wait.
    return wakeUp.wait_for(lock, interval, stopped);
}

// The one lock behind the stand-ins' waits: a thread that waits for its messages and for events
// at once (MsgWaitForMultipleObjectsEx) must see both change under the same lock, or a change
// between its two looks would be missed. Each waiting thread registers what it waits for, and a
// change wakes only the threads it concerns: a job posted to one thread does not wake every other
// thread that waits for its own messages. Linux only.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/Platform.h"

// What one wait is over by: one of its events set, or new input in its thread's queue.
struct WaitReasons {
    const HANDLE* events = nullptr;
    DWORD eventCount = 0;
    DWORD queueThread = 0;  // 0: no queue
};

class SharedWait {
public:
    static SharedWait& Instance();

    std::mutex mutex;

    // With the lock held: wake the waits that `event`, or input for `thread`'s queue, may end.
    void WakeEventWaitersLocked(HANDLE event);
    void WakeQueueWaiterLocked(DWORD thread);
    // With the lock held: wake every wait (changes no wait registers for, which are rare: an
    // answer to a sent message, a queue that ended).
    void WakeAllLocked();

    // With the lock held by `lock`: waits until a change concerning `reasons` or `end`.
    void WaitLocked(std::unique_lock<std::mutex>& lock, const WaitReasons& reasons,
                    const std::chrono::steady_clock::time_point* end);

private:
    struct Waiter {
        WaitReasons reasons;
        std::condition_variable wake;
    };

    std::vector<Waiter*> waiters;
};

// The end of a wait of timeoutMs milliseconds (INFINITE: none).
class WaitDeadline {
public:
    explicit WaitDeadline(DWORD timeoutMs)
        : endless(timeoutMs == INFINITE),
          end(std::chrono::steady_clock::now() +
              std::chrono::milliseconds(endless ? 0 : timeoutMs)) {}

    bool Passed() const { return !endless && std::chrono::steady_clock::now() >= end; }
    // Waits, with the shared lock held by lock, for the next change that concerns `reasons` or
    // the end; false once the end has passed (the caller looks once more at what it waits for
    // before it gives up).
    bool WaitLocked(SharedWait& shared, std::unique_lock<std::mutex>& lock,
                    const WaitReasons& reasons) const {
        if (Passed()) {
            return false;
        }
        shared.WaitLocked(lock, reasons, endless ? nullptr : &end);
        return true;
    }

private:
    bool endless;
    std::chrono::steady_clock::time_point end;
};

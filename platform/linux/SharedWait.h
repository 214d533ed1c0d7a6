// The one lock and wake-up behind the stand-ins' waits: a thread that waits for its messages and
// for events at once (MsgWaitForMultipleObjectsEx) must see both change under the same lock, or a
// change between its two looks would be missed. Linux only.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/Platform.h"

struct SharedWait {
    static SharedWait& Instance();

    std::mutex mutex;
    std::condition_variable changed;
};

// The end of a wait of timeoutMs milliseconds (INFINITE: none).
class WaitDeadline {
public:
    explicit WaitDeadline(DWORD timeoutMs)
        : endless(timeoutMs == INFINITE),
          end(std::chrono::steady_clock::now() +
              std::chrono::milliseconds(endless ? 0 : timeoutMs)) {}

    bool Passed() const { return !endless && std::chrono::steady_clock::now() >= end; }
    // Waits, with the shared lock held by lock, for the next change or the end; false once the end
    // has passed (the caller looks once more at what it waits for before it gives up).
    bool WaitLocked(SharedWait& shared, std::unique_lock<std::mutex>& lock) const {
        if (Passed()) {
            return false;
        }
        if (endless) {
            shared.changed.wait(lock);
        } else {
            shared.changed.wait_until(lock, end);
        }
        return true;
    }

private:
    bool endless;
    std::chrono::steady_clock::time_point end;
};

#include "actions/TimerThread.h"

#include <system_error>
#include <utility>

TimerThread::~TimerThread() {
    if (running || thread.joinable()) {
        Stop();
    }
}

void TimerThread::Launch(std::function<void()> body) {
    running = true;
    try {
        thread = std::thread([this, body = std::move(body)] {
            timerThreadId = std::this_thread::get_id();
            body();
        });
    } catch (...) {
        // Otherwise the owner would look started forever.
        running = false;
        throw;
    }
}

void TimerThread::Stop() {
    // Refused before anything changes: the thread cannot join itself, and a body that calls
    // back under the lock would wait for it forever.
    if (timerThreadId.load() == std::this_thread::get_id()) {
        throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur));
    }
    {
        // Under the lock: a body that has not begun its wait yet still sees the flag, and one
        // that works under the lock has either finished or will never start.
        std::lock_guard<std::mutex> lock(mutex);
        running = false;
    }
    wakeUp.notify_one();
    Join();
}

void TimerThread::Join() {
    if (thread.joinable()) {
        thread.join();
        timerThreadId = std::thread::id();
    }
}

bool TimerThread::WaitForStop(std::unique_lock<std::mutex>& lock,
                              std::chrono::milliseconds interval) {
    // The predicate keeps spurious wake-ups from shortening the wait.
    return wakeUp.wait_for(lock, interval, [this] { return !running; });
}

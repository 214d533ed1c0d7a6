#include "actions/CallBackTimer.h"

#include <chrono>
#include <system_error>

CallBackTimer::~CallBackTimer() {
    if (running || thread.joinable()) {
        Stop();
    }
}

void CallBackTimer::Start(int intervalMs, std::function<void()> callback) {
    if (running || thread.joinable()) {
        Stop();
    }
    running = true;
    try {
        thread = std::thread(&CallBackTimer::Run, this, intervalMs, std::move(callback));
    } catch (...) {
        running = false;
        throw;
    }
}

void CallBackTimer::Stop() {
    // Refused before anything changes: joining itself would never return.
    if (timerThreadId.load() == std::this_thread::get_id()) {
        throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur));
    }
    {
        // Clearing under the lock means a thread that has not begun its wait yet still sees it.
        std::lock_guard<std::mutex> lock(mutex);
        running = false;
    }
    wakeUp.notify_one();
    if (thread.joinable()) {
        thread.join();
        timerThreadId = std::thread::id();
    }
}

void CallBackTimer::Run(int intervalMs, std::function<void()> callback) {
    timerThreadId = std::this_thread::get_id();
    const std::chrono::milliseconds interval(intervalMs);
    while (running) {
        callback();
        std::unique_lock<std::mutex> lock(mutex);
        // The predicate keeps spurious wake-ups from shortening the pause.
        wakeUp.wait_for(lock, interval, [this] { return !running; });
    }
}

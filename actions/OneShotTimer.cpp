#include "actions/OneShotTimer.h"

#include <chrono>
#include <system_error>

OneShotTimer::~OneShotTimer() {
    Stop();
}

bool OneShotTimer::IsRunning() const {
    return running && thread.joinable();
}

void OneShotTimer::Start(int intervalMs, std::function<void()> callback) {
    if (running) {
        return;
    }
    // A fired timer's thread has ended but is still waiting to be joined.
    if (thread.joinable()) {
        thread.join();
        timerThreadId = std::thread::id();
    }
    running = true;
    try {
        thread = std::thread(&OneShotTimer::Run, this, intervalMs, std::move(callback));
    } catch (...) {
        // Otherwise the timer would look armed forever and refuse every later Start.
        running = false;
        throw;
    }
}

void OneShotTimer::Stop() {
    // Refused before anything changes: the callback holds the lock, and the thread cannot join
    // itself.
    if (timerThreadId.load() == std::this_thread::get_id()) {
        throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur));
    }
    {
        // Under the lock: the callback either has finished or will never start.
        std::lock_guard<std::mutex> lock(mutex);
        running = false;
    }
    wakeUp.notify_one();
    if (thread.joinable()) {
        thread.join();
        timerThreadId = std::thread::id();
    }
}

void OneShotTimer::Run(int intervalMs, std::function<void()> callback) {
    timerThreadId = std::this_thread::get_id();
    std::unique_lock<std::mutex> lock(mutex);
    const bool stopped =
        wakeUp.wait_for(lock, std::chrono::milliseconds(intervalMs), [this] { return !running; });
    if (!stopped) {
        callback();
        running = false;
    }
}

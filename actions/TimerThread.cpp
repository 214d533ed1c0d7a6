#include "actions/TimerThread.h"

#include <system_error>
#include <utility>

TimerThread::TimerThread(TimerWait wait) : wait(std::move(wait)) {}

TimerThread::~TimerThread() {
    if (running || thread.joinable()) {
        Stop();
    }
}

void TimerThread::RunRepeatedly(std::chrono::milliseconds interval,
                                std::function<void()> callback) {
    if (running || thread.joinable()) {
        Stop();
    }
    Launch([this, interval, callback = std::move(callback)] { Repeat(interval, callback); });
}

void TimerThread::RunOnce(std::chrono::milliseconds interval, std::function<void()> callback) {
    // A fired timer's thread has ended but is still waiting to be joined.
    Join();
    Launch([this, interval, callback = std::move(callback)] { FireOnce(interval, callback); });
}

void TimerThread::Stop() {
    // Refused before anything changes: the thread cannot join itself, and a callback that
    // calls back under the lock would wait for it forever.
    if (timerThreadId.load() == std::this_thread::get_id()) {
        throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur));
    }
    {
        // Under the lock: a thread that has not begun its wait yet still sees the flag, and a
        // callback that runs under the lock has either finished or will never start.
        std::lock_guard<std::mutex> lock(mutex);
        running = false;
    }
    wakeUp.notify_one();
    Join();
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

void TimerThread::Join() {
    if (thread.joinable()) {
        thread.join();
        timerThreadId = std::thread::id();
    }
}

void TimerThread::Repeat(std::chrono::milliseconds interval,
                         const std::function<void()>& callback) {
    while (running) {
        callback();
        std::unique_lock<std::mutex> lock(mutex);
        WaitForStop(lock, interval);
    }
}

void TimerThread::FireOnce(std::chrono::milliseconds interval,
                           const std::function<void()>& callback) {
    // The callback runs under the lock, so Stop either waits for it or keeps it from starting.
    std::unique_lock<std::mutex> lock(mutex);
    if (!WaitForStop(lock, interval)) {
        callback();
        running = false;
    }
}

bool TimerThread::WaitForStop(std::unique_lock<std::mutex>& lock,
                              std::chrono::milliseconds interval) {
    return wait(wakeUp, lock, interval, [this] { return !running; });
}

// The thread, run flag and wake-up that both timers share, with their two run loops (repeating
// and once) and the one way to stop them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "actions/TimerWait.h"

class TimerThread {
public:
    explicit TimerThread(TimerWait wait = WaitOnSteadyClock);
    // Stops and joins a thread that is still there.
    ~TimerThread();
    TimerThread(const TimerThread&) = delete;
    TimerThread& operator=(const TimerThread&) = delete;

    // Started, and neither stopped nor (when running once) fired.
    bool IsRunning() const { return running; }

    // Stops a thread that is there, then runs `callback` on a new thread at once and again
    // after every `interval`, measured from the end of one run to the start of the next.
    void RunRepeatedly(std::chrono::milliseconds interval, std::function<void()> callback);

    // Joins a thread that has fired, then runs `callback` once on a new thread after
    // `interval` unless stopped first. Only call while not running.
    void RunOnce(std::chrono::milliseconds interval, std::function<void()> callback);

    // Both throw std::system_error, with the run flag cleared, when no thread can be made.

    // Clears the run flag, cuts a wait short and joins the thread; a callback that is running
    // finishes first. From the timer thread itself this throws std::system_error
    // (resource_deadlock_would_occur).
    void Stop();

private:
    void Launch(std::function<void()> body);
    void Join();
    void Repeat(std::chrono::milliseconds interval, const std::function<void()>& callback);
    void FireOnce(std::chrono::milliseconds interval, const std::function<void()>& callback);
    // Holding `lock`: waits up to `interval`; true when stopped meanwhile.
    bool WaitForStop(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds interval);

    TimerWait wait;
    std::atomic<bool> running{false};
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wakeUp;
    // Set by the timer thread itself, so Stop can recognise a call from inside the callback
    // without reading `thread` while the owner may still be assigning it.
    std::atomic<std::thread::id> timerThreadId{};
};

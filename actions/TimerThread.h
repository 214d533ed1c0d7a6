// The thread, run flag and wake-up that both timers share, with the one way to stop them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class TimerThread {
public:
    TimerThread() = default;
    // Stops and joins a thread that is still there.
    ~TimerThread();
    TimerThread(const TimerThread&) = delete;
    TimerThread& operator=(const TimerThread&) = delete;

    // The run flag: set by Launch, cleared by Stop or by the body through Finish.
    bool IsRunning() const { return running; }
    // A thread has been launched and not yet joined (it may have ended already).
    bool HasThread() const { return thread.joinable(); }

    // Sets the run flag and runs `body` on a new thread. Only call without a thread (join or
    // stop first). Throws std::system_error, with the flag cleared, when no thread can be made.
    void Launch(std::function<void()> body);

    // Clears the run flag, cuts a wait short and joins the thread; a body that is running
    // finishes first. From the timer thread itself this throws std::system_error
    // (resource_deadlock_would_occur).
    void Stop();

    // Joins a thread whose body has ended on its own.
    void Join();

    // For the body: the lock that Stop takes to clear the flag.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex); }
    // For the body, holding `lock`: waits up to `interval`; true when stopped meanwhile.
    bool WaitForStop(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds interval);
    // For the body, once it has done its work for good.
    void Finish() { running = false; }

private:
    std::atomic<bool> running{false};
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wakeUp;
    // Set by the timer thread itself, so Stop can recognise a call from inside the body without
    // reading `thread` while the owner may still be assigning it.
    std::atomic<std::thread::id> timerThreadId{};
};

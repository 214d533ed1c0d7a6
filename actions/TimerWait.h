// How a timer thread waits out its interval: the seam that lets tests decide when time passes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

// Waits, holding `lock`, until `stopped` holds (woken through `wakeUp`) or `interval` has
// passed; returns stopped(). A wait must not return early while neither is true.
using TimerWait =
    std::function<bool(std::condition_variable& wakeUp, std::unique_lock<std::mutex>& lock,
                       std::chrono::milliseconds interval, const std::function<bool()>& stopped)>;

// The real clock's wait.
bool WaitOnSteadyClock(std::condition_variable& wakeUp, std::unique_lock<std::mutex>& lock,
                       std::chrono::milliseconds interval, const std::function<bool()>& stopped);

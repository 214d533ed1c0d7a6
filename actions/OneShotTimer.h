// Runs a callback once on a thread of its own, after an interval, unless stopped first.
#pragma once

#include <functional>

#include "actions/TimerThread.h"

class OneShotTimer {
public:
    OneShotTimer() = default;
    // Stops and joins, whether or not the callback has run.
    ~OneShotTimer();
    OneShotTimer(const OneShotTimer&) = delete;
    OneShotTimer& operator=(const OneShotTimer&) = delete;

    // True while armed: started, neither fired nor stopped.
    bool IsRunning() const;

    // Arms the timer. An armed timer is neither restarted nor extended; a fired one is joined
    // and armed again. Throws std::system_error when no thread can be created.
    void Start(int intervalMs, std::function<void()> callback);

    // Disarms the timer so that its callback never runs, and joins the thread; a callback that
    // is running finishes first. From inside the callback this throws std::system_error
    // (resource_deadlock_would_occur).
    void Stop();

private:
    void Run(int intervalMs, const std::function<void()>& callback);

    TimerThread timer;
};

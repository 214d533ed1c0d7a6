// Runs a callback once on a thread of its own, after an interval, unless stopped first.
// Destruction stops and joins, whether or not the callback has run.
#pragma once

#include <functional>
#include <utility>

#include "actions/TimerThread.h"

class OneShotTimer {
public:
    // `wait` decides when the interval has passed (tests pass a clock of their own).
    explicit OneShotTimer(TimerWait wait = WaitOnSteadyClock) : timer(std::move(wait)) {}

    // True while armed: started, neither fired nor stopped.
    bool IsRunning() const { return timer.IsRunning(); }

    // Arms the timer. An armed timer is neither restarted nor extended; a fired one is joined
    // and armed again. Throws std::system_error when no thread can be created.
    void Start(int intervalMs, std::function<void()> callback);

    // Disarms the timer so that its callback never runs, and joins the thread; a callback that
    // is running finishes first. From inside the callback this throws std::system_error
    // (resource_deadlock_would_occur).
    void Stop();

private:
    TimerThread timer;
};

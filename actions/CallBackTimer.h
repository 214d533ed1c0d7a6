// Runs a callback over and over on a thread of its own: at once, then after every interval.
// Destruction stops and joins a running timer.
#pragma once

#include <functional>
#include <utility>

#include "actions/TimerThread.h"

class CallBackTimer {
public:
    // `wait` decides when an interval has passed (tests pass a clock of their own).
    explicit CallBackTimer(TimerWait wait = WaitOnSteadyClock) : timer(std::move(wait)) {}

    // Starts the timer thread, stopping a running one first. The pause between runs is measured
    // from the end of one run to the start of the next. Throws std::system_error when no thread
    // can be created.
    void Start(int intervalMs, std::function<void()> callback);

    // Cuts a wait short and joins the thread; a callback that is running finishes first. From
    // inside the callback this throws std::system_error (resource_deadlock_would_occur).
    void Stop();

private:
    TimerThread timer;
};

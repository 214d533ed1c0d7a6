#include "actions/OneShotTimer.h"

#include <chrono>
#include <utility>

OneShotTimer::~OneShotTimer() {
    Stop();
}

bool OneShotTimer::IsRunning() const {
    return timer.IsRunning() && timer.HasThread();
}

void OneShotTimer::Start(int intervalMs, std::function<void()> callback) {
    if (timer.IsRunning()) {
        return;
    }
    // A fired timer's thread has ended but is still waiting to be joined.
    timer.Join();
    timer.Launch([this, intervalMs, callback = std::move(callback)] { Run(intervalMs, callback); });
}

void OneShotTimer::Stop() {
    timer.Stop();
}

void OneShotTimer::Run(int intervalMs, const std::function<void()>& callback) {
    // The callback runs under the lock, so Stop either waits for it or keeps it from starting.
    std::unique_lock<std::mutex> lock = timer.Lock();
    if (!timer.WaitForStop(lock, std::chrono::milliseconds(intervalMs))) {
        callback();
        timer.Finish();
    }
}

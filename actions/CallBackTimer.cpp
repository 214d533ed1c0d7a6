#include "actions/CallBackTimer.h"

#include <chrono>
#include <utility>

CallBackTimer::~CallBackTimer() {
    if (timer.IsRunning() || timer.HasThread()) {
        Stop();
    }
}

void CallBackTimer::Start(int intervalMs, std::function<void()> callback) {
    if (timer.IsRunning() || timer.HasThread()) {
        Stop();
    }
    timer.Launch([this, intervalMs, callback = std::move(callback)] { Run(intervalMs, callback); });
}

void CallBackTimer::Stop() {
    timer.Stop();
}

void CallBackTimer::Run(int intervalMs, const std::function<void()>& callback) {
    const std::chrono::milliseconds interval(intervalMs);
    while (timer.IsRunning()) {
        callback();
        std::unique_lock<std::mutex> lock = timer.Lock();
        timer.WaitForStop(lock, interval);
    }
}

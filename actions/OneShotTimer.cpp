#include "actions/OneShotTimer.h"

#include <chrono>
#include <utility>

void OneShotTimer::Start(int intervalMs, std::function<void()> callback) {
    if (!timer.IsRunning()) {
        timer.RunOnce(std::chrono::milliseconds(intervalMs), std::move(callback));
    }
}

void OneShotTimer::Stop() {
    timer.Stop();
}

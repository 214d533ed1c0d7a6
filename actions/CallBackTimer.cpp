#include "actions/CallBackTimer.h"

#include <chrono>
#include <utility>

void CallBackTimer::Start(int intervalMs, std::function<void()> callback) {
    timer.RunRepeatedly(std::chrono::milliseconds(intervalMs), std::move(callback));
}

void CallBackTimer::Stop() {
    timer.Stop();
}

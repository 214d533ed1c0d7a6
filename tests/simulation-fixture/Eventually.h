// Waiting in a test for something another thread or process does: up to a generous limit, as a
// guard against hanging, not a timing assertion.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Whether the condition came true within `giveUpAfter`.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::seconds giveUpAfter = std::chrono::seconds(30)) {
    const auto giveUp = std::chrono::steady_clock::now() + giveUpAfter;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

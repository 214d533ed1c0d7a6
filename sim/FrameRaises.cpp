#include "sim/FrameRaises.h"

#include <utility>

namespace pptsim {

void FrameRaiseWatch::Watch(HWND frame, std::function<void()> onRaised) {
    std::lock_guard<std::mutex> lock(mutex);
    handlers[frame] = std::move(onRaised);
}

void FrameRaiseWatch::Forget(HWND frame) {
    std::lock_guard<std::mutex> lock(mutex);
    handlers.erase(frame);
    onTopBeforeChange.erase(frame);
    muted.erase(frame);
}

void FrameRaiseWatch::Mute(HWND frame, bool mute) {
    std::lock_guard<std::mutex> lock(mutex);
    if (mute) {
        muted.insert(frame);
    } else {
        muted.erase(frame);
    }
}

void FrameRaiseWatch::Notice(HWND frame, UINT message, LPARAM lParam, bool onTop) {
    if (message != WM_WINDOWPOSCHANGING && message != WM_WINDOWPOSCHANGED) {
        return;
    }
    const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (position == nullptr || (position->flags & SWP_NOZORDER) != 0) {
        return;
    }
    std::function<void()> onRaised;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto handler = handlers.find(frame);
        if (handler == handlers.end() || muted.count(frame) != 0) {
            return;
        }
        if (message == WM_WINDOWPOSCHANGING) {
            if (onTop) {
                onTopBeforeChange.insert(frame);
            } else {
                onTopBeforeChange.erase(frame);
            }
            return;
        }
        if (onTop && onTopBeforeChange.count(frame) == 0) {
            onRaised = handler->second;
        }
        onTopBeforeChange.erase(frame);
    }
    if (onRaised) {
        onRaised();
    }
}

}  // namespace pptsim

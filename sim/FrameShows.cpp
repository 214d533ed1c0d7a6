#include "sim/FrameShows.h"

#include <utility>

#include "sim/ModelState.h"

namespace pptsim {

void FrameShowWatch::Watch(HWND frame, std::function<void(int)> onShown) {
    std::lock_guard<std::mutex> lock(mutex);
    handlers[frame] = std::move(onShown);
}

void FrameShowWatch::Forget(HWND frame) {
    std::lock_guard<std::mutex> lock(mutex);
    handlers.erase(frame);
}

void FrameShowWatch::Notice(HWND frame, UINT message, WPARAM wParam) {
    if (message != WM_SIZE ||
        (wParam != SIZE_RESTORED && wParam != SIZE_MINIMIZED && wParam != SIZE_MAXIMIZED)) {
        return;
    }
    std::function<void(int)> onShown;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto handler = handlers.find(frame);
        if (handler == handlers.end()) {
            return;
        }
        onShown = handler->second;
    }
    onShown(wParam == SIZE_MINIMIZED   ? kWindowMinimized
            : wParam == SIZE_MAXIMIZED ? kWindowMaximized
                                       : kWindowNormal);
}

int ShowCommandFor(int windowState) {
    switch (windowState) {
        case kWindowMinimized:
            return SW_SHOWMINNOACTIVE;
        case kWindowMaximized:
            return SW_SHOWMAXIMIZED;
        default:
            return SW_SHOWNORMAL;
    }
}

}  // namespace pptsim

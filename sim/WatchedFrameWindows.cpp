#include "sim/WatchedFrameWindows.h"

#include <utility>

#include "sim/ModelState.h"

namespace pptsim {
namespace {

// The ShowWindow command that shows a frame in a PpWindowState, without taking the keyboard
// where the state allows it.
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

}  // namespace

void WatchedFrameWindows::WatchRaises(HWND frame, std::function<void()> onRaised) {
    std::lock_guard<std::mutex> lock(mutex);
    frames[frame].onRaised = std::move(onRaised);
}

void WatchedFrameWindows::Show(HWND frame, int windowState) {
    ShowWindow(frame, ShowCommandFor(windowState));
}

void WatchedFrameWindows::WatchShows(HWND frame, std::function<void(int)> onShown) {
    std::lock_guard<std::mutex> lock(mutex);
    frames[frame].onShown = std::move(onShown);
}

void WatchedFrameWindows::SetCloseHandler(HWND frame, std::function<void()> onClose) {
    std::lock_guard<std::mutex> lock(mutex);
    frames[frame].onClose = std::move(onClose);
}

void WatchedFrameWindows::Forget(HWND frame) {
    std::lock_guard<std::mutex> lock(mutex);
    frames.erase(frame);
}

void WatchedFrameWindows::MuteRaises(HWND frame, bool muted) {
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = frames.find(frame);
    if (found != frames.end()) {
        found->second.muted = muted;
    }
}

LRESULT WatchedFrameWindows::HandleFrameMessage(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam,
                                                const std::function<bool()>& isOnTop) {
    if (message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED) {
        NoticeZOrder(window, message, lParam, isOnTop());
    } else if (message == WM_SIZE) {
        NoticeSize(window, wParam);
    }
    if (message != WM_CLOSE) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    std::function<void()> onClose;
    {
        // A copy: the handler closes the presentation, which destroys the frame and its entry.
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = frames.find(window);
        if (found != frames.end()) {
            onClose = found->second.onClose;
        }
    }
    if (onClose) {
        onClose();
    } else {
        DestroyWindow(window);
    }
    return 0;
}

void WatchedFrameWindows::NoticeZOrder(HWND frame, UINT message, LPARAM lParam, bool onTop) {
    const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (position == nullptr || (position->flags & SWP_NOZORDER) != 0) {
        return;
    }
    std::function<void()> onRaised;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = frames.find(frame);
        if (found == frames.end() || !found->second.onRaised || found->second.muted) {
            return;
        }
        Watched& watched = found->second;
        if (message == WM_WINDOWPOSCHANGING) {
            watched.onTopBeforeChange = onTop;
            return;
        }
        if (onTop && !watched.onTopBeforeChange) {
            onRaised = watched.onRaised;
        }
        watched.onTopBeforeChange = false;
    }
    if (onRaised) {
        onRaised();
    }
}

void WatchedFrameWindows::NoticeSize(HWND frame, WPARAM wParam) {
    if (wParam != SIZE_RESTORED && wParam != SIZE_MINIMIZED && wParam != SIZE_MAXIMIZED) {
        return;
    }
    std::function<void(int)> onShown;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = frames.find(frame);
        if (found == frames.end() || !found->second.onShown) {
            return;
        }
        onShown = found->second.onShown;
    }
    onShown(wParam == SIZE_MINIMIZED   ? kWindowMinimized
            : wParam == SIZE_MAXIMIZED ? kWindowMaximized
                                       : kWindowNormal);
}

}  // namespace pptsim

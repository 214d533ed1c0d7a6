#include "sim/FrameMessages.h"

#include <utility>

namespace pptsim {

void FrameCloseHandlers::Set(HWND frame, std::function<void()> onClose) {
    std::lock_guard<std::mutex> lock(mutex);
    handlers[frame] = std::move(onClose);
}

void FrameCloseHandlers::Erase(HWND frame) {
    std::lock_guard<std::mutex> lock(mutex);
    handlers.erase(frame);
}

std::function<void()> FrameCloseHandlers::Find(HWND frame) {
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = handlers.find(frame);
    return found != handlers.end() ? found->second : std::function<void()>();
}

LRESULT HandleFrameMessage(FrameCloseHandlers& handlers, HWND window, UINT message, WPARAM wParam,
                           LPARAM lParam) {
    if (message != WM_CLOSE) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const std::function<void()> onClose = handlers.Find(window);
    if (onClose) {
        onClose();
    } else {
        DestroyWindow(window);
    }
    return 0;
}

}  // namespace pptsim

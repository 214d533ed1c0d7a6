// What every lane's frame windows share: the close handler each frame was created with, and the
// window procedure's answer to WM_CLOSE, which calls it.
#pragma once

#include <functional>
#include <map>
#include <mutex>

#include "platform/Platform.h"

namespace pptsim {

class FrameCloseHandlers {
public:
    void Set(HWND frame, std::function<void()> onClose);
    void Erase(HWND frame);
    // A copy: the handler closes the presentation, which destroys the frame and its entry.
    std::function<void()> Find(HWND frame);

private:
    std::mutex mutex;
    std::map<HWND, std::function<void()>> handlers;
};

// The frames' window procedure: WM_CLOSE runs the frame's close handler (unlocked, since it
// destroys the frame) or, for a frame without one, destroys it; the rest goes to DefWindowProcW.
LRESULT HandleFrameMessage(FrameCloseHandlers& handlers, HWND window, UINT message, WPARAM wParam,
                           LPARAM lParam);

}  // namespace pptsim

// The frame windows of the simulated PowerPoint's presentations, as the platform provides them:
// top-level windows of class "PPTFrameClass" that call back when they receive WM_CLOSE.
#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"

namespace pptsim {

class FrameWindows {
public:
    virtual ~FrameWindows() = default;
    // A new frame on top of the other (non-topmost) windows, minimised (iconic) or not.
    virtual HWND Create(const std::wstring& title, bool minimized,
                        std::function<void()> onClose) = 0;
    virtual void Destroy(HWND frame) = 0;
    virtual void BringToTop(HWND frame) = 0;
    // PowerPoint's modal prompt over a frame, asked on the frame's own thread while it closes:
    // IDYES (save), IDNO (close without saving) or IDCANCEL (keep it open). The frames' thread
    // keeps dispatching messages while the prompt waits for its answer.
    virtual int AskToSave(HWND frame, const std::wstring& text, const std::wstring& caption) = 0;
    // Calls onRaised whenever someone else brings the frame to the top.
    virtual void WatchRaises(HWND frame, std::function<void()> onRaised) = 0;
    // Shows the frame minimised, maximised or in its normal size (a PpWindowState).
    virtual void Show(HWND frame, int windowState) = 0;
    // Calls onShown with the PpWindowState the frame shows whenever that changes (also through
    // Show).
    virtual void WatchShows(HWND frame, std::function<void(int windowState)> onShown) = 0;
};

// The frames of this platform (one implementation per lane).
FrameWindows& PlatformFrameWindows();

}  // namespace pptsim

// What both lanes' frame windows share: what the simulation asked to hear from each frame (its
// close handler, raises by someone else, minimise and restore), the frame procedure's answer to
// the messages that tell it, and showing a frame in a window state.
#pragma once

#include <functional>
#include <map>
#include <mutex>

#include "platform/Platform.h"
#include "sim/FrameWindows.h"

namespace pptsim {

class WatchedFrameWindows : public FrameWindows {
public:
    void WatchRaises(HWND frame, std::function<void()> onRaised) override;
    void Show(HWND frame, int windowState) override;
    void WatchShows(HWND frame, std::function<void(int windowState)> onShown) override;

protected:
    void SetCloseHandler(HWND frame, std::function<void()> onClose);
    // Before the frame is destroyed: it calls nothing back from then on.
    void Forget(HWND frame);
    // The simulation's own moves of a frame (between the two calls) are not raises.
    void MuteRaises(HWND frame, bool muted);
    // The frame procedure. WM_CLOSE runs the frame's close handler or, for a frame without one,
    // destroys it; a z-order change that takes the frame from below to the top (isOnTop tells
    // where it stands as each change is announced and done) calls its raise handler once;
    // WM_SIZE tells its show handler the PpWindowState it now shows. Handlers run unlocked (a
    // close destroys the frame); what else comes goes to DefWindowProcW.
    LRESULT HandleFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               const std::function<bool()>& isOnTop);

private:
    struct Watched {
        std::function<void()> onClose;
        std::function<void()> onRaised;
        std::function<void(int)> onShown;
        bool muted = false;
        bool onTopBeforeChange = false;
    };
    void NoticeZOrder(HWND frame, UINT message, LPARAM lParam, bool onTop);
    void NoticeSize(HWND frame, WPARAM wParam);

    std::mutex mutex;
    std::map<HWND, Watched> frames;
};

}  // namespace pptsim

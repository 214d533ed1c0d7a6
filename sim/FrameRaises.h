// Notices when one of the simulation's frames is brought to the top by someone else (the
// plug-in raising it through user32): each lane's frame procedure reports the z-order changes
// its window hears of, with whether the frame stands on top at that moment. A change that
// takes a frame from below to the top calls the frame's raise handler once.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <set>

#include "platform/Platform.h"

namespace pptsim {

class FrameRaiseWatch {
public:
    void Watch(HWND frame, std::function<void()> onRaised);
    void Forget(HWND frame);
    // The simulation's own moves of a frame (between the two calls) are not raises.
    void Mute(HWND frame, bool muted);
    // For the frame procedure: WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED; other messages
    // are ignored. Calls the handler (unlocked) when the change raised the frame.
    void Notice(HWND frame, UINT message, LPARAM lParam, bool onTop);

private:
    std::mutex mutex;
    std::map<HWND, std::function<void()>> handlers;
    std::set<HWND> onTopBeforeChange;
    std::set<HWND> muted;
};

}  // namespace pptsim

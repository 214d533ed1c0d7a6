// Notices when one of the simulation's frames is minimised, maximised or restored by someone else
// (ShowWindow from another program): each lane's frame procedure reports the WM_SIZE its window
// hears, and the frame's handler learns the PpWindowState the frame now shows.
#pragma once

#include <functional>
#include <map>
#include <mutex>

#include "platform/Platform.h"

namespace pptsim {

class FrameShowWatch {
public:
    void Watch(HWND frame, std::function<void(int windowState)> onShown);
    void Forget(HWND frame);
    // For the frame procedure: WM_SIZE; other messages are ignored. Calls the handler unlocked.
    void Notice(HWND frame, UINT message, WPARAM wParam);

private:
    std::mutex mutex;
    std::map<HWND, std::function<void(int)>> handlers;
};

// The ShowWindow command that shows a frame in a PpWindowState, without taking the keyboard
// where the state allows it.
int ShowCommandFor(int windowState);

}  // namespace pptsim

// Walks the desktop's top-level windows in Z order, from the top down, hidden, minimised and
// topmost ones included.
#pragma once

#include "platform/Platform.h"

// Calls visit(window) for each window until it returns false or the list ends. Returns false
// without visiting anything when there is no desktop window or no top-level window at all.
template <typename Visit>
bool ForEachTopLevelWindow(Visit visit) {
    HWND desktop = GetDesktopWindow();
    if (desktop == nullptr) {
        return false;
    }
    HWND window = GetTopWindow(desktop);
    if (window == nullptr) {
        return false;
    }
    for (; window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (!visit(window)) {
            break;
        }
    }
    return true;
}

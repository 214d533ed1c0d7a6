// PowerPoint's frame windows, reached through the window manager rather than automation.
// Worker thread only.
#pragma once

#include <string>

// Brings the frame showing the presentation at path (a Windows path or a URL) above all other
// non-topmost windows. True when a frame whose title names the file (see IsFrameTitleOf) was
// found and both repositioning calls succeeded.
bool ActivatePresentationWindow(const std::wstring& path);

// Asks every PowerPoint frame window to close, waiting a bounded time for the frames to do so
// (a save prompt may hold one up). True when at least one frame accepted the request (its
// window procedure handled WM_CLOSE within the bound); false when none did, none was found, or
// there is no desktop or top-level window.
bool ClosePowerPointWindows();

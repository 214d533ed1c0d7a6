// PowerPoint's frame windows, reached through the window manager rather than automation.
// Worker thread only.
#pragma once

#include <string>

#include "platform/Platform.h"

// What the raise does with a minimised (iconic) frame: a change of Z order leaves it on the
// taskbar, so where PowerPoint could not restore its window the frame is restored through user32.
enum class IconicFrame { Leave, Restore };

// The highest frame showing the presentation at path (a Windows path or a URL): its title names
// the file (see IsFrameTitleOf). Null when there is none.
HWND FindPresentationFrame(const std::wstring& path);

// Brings the frame showing the presentation at path above all other non-topmost windows,
// restoring it first when it is minimised and `iconic` says so. True when the frame was found
// and both repositioning calls succeeded.
bool ActivatePresentationWindow(const std::wstring& path, IconicFrame iconic = IconicFrame::Leave);

// Whether any PowerPoint frame window exists: PowerPoint runs, whether or not automation can
// reach it yet.
bool AnyPowerPointFrame();

// Asks every PowerPoint frame window to close, waiting a bounded time for the frames to do so
// (a save prompt may hold one up). True when at least one frame accepted the request (its
// window procedure handled WM_CLOSE within the bound); false when none did, none was found, or
// there is no desktop or top-level window.
bool ClosePowerPointWindows();

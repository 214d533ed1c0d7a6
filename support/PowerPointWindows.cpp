#include "support/PowerPointWindows.h"

#include <vector>

#include "platform/WindowText.h"

#include "support/FrameTitles.h"
#include "support/PowerPointFrames.h"
#include "support/PresentationPaths.h"
#include "support/TopLevelWindows.h"

namespace {

// How long the frames together may take to close. A frame whose deck has unsaved changes opens
// PowerPoint's save prompt inside its WM_CLOSE and answers only once the presenter has; the
// prompt stays for the presenter, but the worker moves on.
constexpr DWORD kCloseBudgetMs = 1500;

bool IsPowerPointFrame(HWND window) {
    return WindowClassName(window) == PowerPointFrames::kFrameClass;
}

// Moves the window to the top of the Z order without leaving it topmost. The first call does
// not redraw; the caller repaints the desktop afterwards.
bool RaiseWindow(HWND window) {
    if (SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE) ==
        0) {
        return false;
    }
    return SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != 0;
}

}  // namespace

HWND FindPresentationFrame(const std::wstring& path) {
    const std::wstring fileName = PresentationFileName(path);
    const std::wstring name = fileName.substr(0, fileName.find(L'\0'));
    HWND frame = nullptr;
    ForEachTopLevelWindow([&](HWND window) {
        if (IsPowerPointFrame(window) && IsFrameTitleOf(WindowTitle(window), name)) {
            frame = window;
            return false;  // only the highest matching frame
        }
        return true;
    });
    return frame;
}

bool ActivatePresentationWindow(const std::wstring& path, IconicFrame iconic) {
    HWND frame = FindPresentationFrame(path);
    if (frame == nullptr) {
        return false;
    }
    if (iconic == IconicFrame::Restore && IsIconic(frame) != 0) {
        ShowWindow(frame, SW_RESTORE);  // back to the size it had, maximised ones too
    }
    const bool raised = RaiseWindow(frame);
    UpdateWindow(GetDesktopWindow());
    return raised;
}

bool AnyPowerPointFrame() {
    bool found = false;
    ForEachTopLevelWindow([&found](HWND window) {
        found = IsPowerPointFrame(window);
        return !found;
    });
    return found;
}

bool ClosePowerPointWindows() {
    // Collected first: a closing frame leaves the Z-order list that the walk follows.
    std::vector<HWND> frames;
    ForEachTopLevelWindow([&](HWND window) {
        if (IsPowerPointFrame(window)) {
            frames.push_back(window);
        }
        return true;
    });
    const DWORD started = GetTickCount();
    bool accepted = false;
    for (HWND frame : frames) {
        const DWORD spent = GetTickCount() - started;
        if (spent < kCloseBudgetMs) {
            accepted = SendMessageTimeoutW(frame, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                           kCloseBudgetMs - spent, nullptr) != 0 ||
                       accepted;
        } else {
            PostMessageW(frame, WM_CLOSE, 0, 0);  // asked all the same, without waiting
        }
    }
    return accepted;
}

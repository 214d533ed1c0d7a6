// The frames of the running PowerPoint and what their windows report: a WM_CLOSE (with the save
// prompt of a deck with unsaved changes), a raise by another program and a minimise or restore;
// and the frame work a member call leaves to be done once the lock is released.
#include "sim/Simulation.h"

#include "sim/FrameWindows.h"
#include "sim/TextUnits.h"

namespace pptsim {

// WM_CLOSE on a frame closes its presentation, once any unsaved changes are settled; closing
// the last one quits PowerPoint or hides it, as the scenario says.
void Simulation::FrameClosed(std::uint64_t frameInstance, std::uint64_t presentationId) {
    if (!ConfirmClose(frameInstance, presentationId)) {
        return;
    }
    FrameChanges frames;
    {
        std::lock_guard<std::mutex> lock(mutex);
        OpenPresentation* presentation = state.FindPresentation(presentationId);
        if (!running || frameInstance != instance || presentation == nullptr) {
            return;
        }
        TraceLocked("close " + UnitsToUtf8(FrameTitle(*presentation, state.Setup().frameTitles)));
        state.Close(presentationId, frames);
        if (!state.AnyOpen() && state.Setup().whenLastWindowCloses == LastWindowCloses::Exit) {
            StopLocked(frames, true);
        }
    }
    ApplyFrameChanges(frames, frameInstance);
}

// The save prompt runs on the frame's thread without the lock: PowerPoint goes on serving calls
// while it waits for the presenter.
bool Simulation::ConfirmClose(std::uint64_t frameInstance, std::uint64_t presentationId) {
    HWND frame = nullptr;
    std::wstring name;
    {
        std::lock_guard<std::mutex> lock(mutex);
        OpenPresentation* presentation = state.FindPresentation(presentationId);
        if (!running || frameInstance != instance || presentation == nullptr) {
            return false;
        }
        if (unsaved.count(presentationId) == 0) {
            return true;
        }
        if (!prompting.insert(presentationId).second) {
            return false;  // its prompt is already open
        }
        frame = presentation->frame;
        name = FrameTitle(*presentation, state.Setup().frameTitles);
        TraceLocked("prompt save " + UnitsToUtf8(name));
    }
    const std::wstring deck = name.substr(0, name.rfind(L" - "));
    const int answer = PlatformFrameWindows().AskToSave(
        frame, L"Do you want to save changes to " + deck + L"?", L"Microsoft PowerPoint");
    std::lock_guard<std::mutex> lock(mutex);
    prompting.erase(presentationId);
    if (!running || frameInstance != instance) {
        return false;
    }
    TraceLocked(answer == IDYES  ? "answer save"
                : answer == IDNO ? "answer don't save"
                                 : "answer cancel");
    if (answer != IDYES && answer != IDNO) {
        return false;
    }
    unsaved.erase(presentationId);
    return true;
}

// Someone else brought a frame to the top (the plug-in raising the deck it works on).
void Simulation::FrameRaised(std::uint64_t frameInstance, std::uint64_t presentationId) {
    std::lock_guard<std::mutex> lock(mutex);
    const OpenPresentation* presentation = state.FindPresentation(presentationId);
    if (running && frameInstance == instance && presentation != nullptr) {
        TraceLocked("raise " + UnitsToUtf8(FrameTitle(*presentation, state.Setup().frameTitles)));
    }
}

void Simulation::FrameShown(std::uint64_t frameInstance, std::uint64_t presentationId,
                            int windowState) {
    std::lock_guard<std::mutex> lock(mutex);
    OpenPresentation* presentation = state.FindPresentation(presentationId);
    if (running && frameInstance == instance && presentation != nullptr) {
        SetWindowStateLocked(*presentation, windowState);
    }
}

HWND Simulation::SetWindowStateLocked(OpenPresentation& presentation, int windowState) {
    if (presentation.windowState == kWindowMinimized && windowState != kWindowMinimized &&
        presentation.frame != nullptr) {
        TraceLocked("restore " + UnitsToUtf8(FrameTitle(presentation, state.Setup().frameTitles)));
    }
    presentation.windowState = windowState;
    return presentation.frame;
}

void Simulation::ApplyFrameChanges(const FrameChanges& frames, std::uint64_t frameInstance) {
    FrameWindows& windows = PlatformFrameWindows();
    for (HWND frame : frames.destroy) {
        windows.Destroy(frame);
    }
    for (std::uint64_t presentationId : frames.create) {
        std::wstring title;
        bool minimized = false;
        {
            std::lock_guard<std::mutex> lock(mutex);
            const OpenPresentation* presentation = state.FindPresentation(presentationId);
            if (!running || frameInstance != instance || presentation == nullptr) {
                continue;
            }
            title = FrameTitle(*presentation, state.Setup().frameTitles);
            minimized = presentation->windowState == kWindowMinimized;
        }
        HWND frame = windows.Create(title, minimized, [this, frameInstance, presentationId] {
            FrameClosed(frameInstance, presentationId);
        });
        bool kept = false;
        {
            std::lock_guard<std::mutex> lock(mutex);
            OpenPresentation* presentation = state.FindPresentation(presentationId);
            if (running && frameInstance == instance && presentation != nullptr) {
                presentation->frame = frame;
                kept = true;
            }
        }
        if (!kept) {
            windows.Destroy(frame);  // closed while its frame was being made
            continue;
        }
        windows.WatchRaises(frame, [this, frameInstance, presentationId] {
            FrameRaised(frameInstance, presentationId);
        });
        windows.WatchShows(frame, [this, frameInstance, presentationId](int windowState) {
            FrameShown(frameInstance, presentationId, windowState);
        });
    }
    for (HWND frame : frames.raise) {
        windows.BringToTop(frame);
    }
    for (const WindowStateChange& change : frames.windowStates) {
        HWND frame = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex);
            OpenPresentation* presentation = state.FindPresentation(change.presentationId);
            if (!running || frameInstance != instance || presentation == nullptr) {
                continue;
            }
            frame = SetWindowStateLocked(*presentation, change.windowState);
        }
        if (frame != nullptr) {
            windows.Show(frame, change.windowState);
        }
    }
}

}  // namespace pptsim

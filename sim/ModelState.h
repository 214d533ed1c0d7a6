// The state of one running simulated PowerPoint: its open presentations, the active one and
// the running slide shows. Plain data guarded by the simulation's lock; frame windows are only
// named here (created, raised and destroyed by the caller once the lock is released).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/Scenario.h"

namespace pptsim {

// PowerPoint's enumerations as the object model passes them (plain integers): the PpSlideLayout
// values the simulation names (a blank slide has no title placeholder), and PpWindowState,
// DocumentWindow.WindowState.
enum PpSlideLayout : int { kLayoutText = 2, kLayoutBlank = 12 };
enum PpWindowState : int { kWindowNormal = 1, kWindowMinimized = 2, kWindowMaximized = 3 };

// PowerPoint numbers a presentation's slides' SlideIDs from 256 up, never reusing one.
constexpr int kFirstSlideId = 256;

struct SlideContent {
    int layout;
    std::wstring title;
    bool hidden = false;  // SlideShowTransition.Hidden: the show skips it
    int id = 0;           // Slide.SlideID
    int effects = 0;      // animation effects of its main sequence
    int clicks = 0;       // of those, the ones a click starts (builds)
};

// A custom show: a name and the slides it shows, in its own order.
struct NamedShow {
    std::uint64_t id;
    std::wstring name;
    std::vector<int> slideIds;
};

struct OpenPresentation {
    std::uint64_t id = 0;
    std::wstring fullName;  // "Presentation<n>" until it is saved
    std::vector<SlideContent> slides;
    HWND frame = nullptr;
    int firstSlideNumber = 1;  // PageSetup.FirstSlideNumber
    int rangeStart = 0;        // the saved show range (positions from 1); 0: every slide
    int rangeEnd = 0;
    bool readOnly = false;
    std::wstring path;           // the name it was opened by, when FullName reports another
    bool protectedView = false;  // in a ProtectedViewWindow, not in Presentations
    int nextSlideId = kFirstSlideId;
    std::vector<NamedShow> namedShows;
    // SlideShowSettings.RangeType ppShowNamedSlideShow, with the custom show SlideShowName names:
    // what Run then runs (as automation starts a custom show).
    bool runsNamedShow = false;
    std::wstring settingsShowName;
    int windowState = kWindowNormal;  // its document window's, which its frame shows

    int SlideCount() const { return static_cast<int>(slides.size()); }
    // The slide's position from 1; 0 when the presentation has no such slide.
    int PositionOf(int slideId) const;
    // Adds a slide at the position (from 1) with the next SlideID.
    SlideContent& InsertSlide(int position, int layout);
};

struct RunningShow {
    std::uint64_t id = 0;
    std::uint64_t presentationId = 0;
    int slide = 0;           // position in the deck
    bool ended = false;      // on the black end screen, after the last shown slide
    int click = 0;           // builds of the slide played
    std::wstring namedShow;  // the custom show it runs; empty: the deck's own show
    // In a custom show: where in its list of slides it stands, or kOutsideNamedShow on a slide
    // a hyperlink took it to.
    int step = 0;
};

constexpr int kOutsideNamedShow = -1;

// A DocumentWindow.WindowState written: the presentation and the state its frame is to show.
struct WindowStateChange {
    std::uint64_t presentationId;
    int windowState;
};

// Frame work that waits until the lock is released (a frame's window procedure calls back in).
struct FrameChanges {
    std::vector<std::uint64_t> create;  // presentation ids; each new frame goes on top
    std::vector<HWND> raise;
    std::vector<HWND> destroy;
    std::vector<WindowStateChange> windowStates;
};

// The title of a presentation's frame as PowerPoint words it: the file name (without its
// extension when Windows hides extensions), a read-only flag, then " - PowerPoint".
std::wstring FrameTitle(const OpenPresentation& presentation, FrameTitleStyle style);

class ModelState {
public:
    void Start(const Scenario& setup, FrameChanges& frames);
    // Ends everything at once (PowerPoint quits): hands back the frames to destroy.
    void Stop(FrameChanges& frames);

    const Scenario& Setup() const { return setup; }
    // Every open presentation, in Protected View or not, in the order they opened.
    const std::vector<OpenPresentation>& Presentations() const { return presentations; }
    // The Presentations collection (protectedView false) or ProtectedViewWindows (true).
    std::vector<const OpenPresentation*> Listed(bool protectedView) const;
    const std::vector<RunningShow>& Shows() const { return shows; }
    OpenPresentation* FindPresentation(std::uint64_t id);
    OpenPresentation* ActivePresentation();
    RunningShow* FindShow(std::uint64_t id);
    // A new identity for a presentation, show or custom show of this PowerPoint.
    std::uint64_t NewId() { return nextId++; }

    // Opens a file that the scenario lists (by its name or the name its FullName reports) or a
    // deck saved by SaveAs; a file already open opens again as a read-only copy, as PowerPoint
    // does. Null when there is no such file.
    OpenPresentation* Open(const std::wstring& path, FrameChanges& frames);
    // A Protected View window's presentation leaves it for editing: a new frame, at the end of
    // Presentations, active.
    void LeaveProtectedView(std::uint64_t presentationId, FrameChanges& frames);
    // A new, empty, untitled presentation at the end of the collection; with a window it
    // becomes the active one.
    OpenPresentation& AddUntitled(bool withWindow, FrameChanges& frames);
    void Activate(std::uint64_t presentationId, FrameChanges& frames);
    // Closes a presentation with its show; false when it was not open.
    bool Close(std::uint64_t presentationId, FrameChanges& frames);
    bool AnyOpen() const { return !presentations.empty(); }

    // Starts the presentation's show on its first shown slide (restarting one that runs), or its
    // settings' custom show on that show's first slide; null when the show would show no slide.
    RunningShow* RunShow(std::uint64_t presentationId);
    RunningShow* ShowOf(std::uint64_t presentationId);
    void EndShow(std::uint64_t showId);

    // The keyboard (the foreground): whether the show's window has it, and giving it to the show
    // (SlideShowWindow.Activate). A show Run starts does not take it: its callers are background
    // processes, which Windows does not let take the foreground (inferred from
    // SetForegroundWindow's rules). A show the scenario starts with was started by the presenter,
    // the last one having it.
    bool HasKeyboard(std::uint64_t showId) const { return showId == keyboardShowId; }
    void GiveKeyboard(std::uint64_t showId) { keyboardShowId = showId; }

private:
    OpenPresentation& Add(const std::wstring& fullName, std::vector<SlideContent> slides,
                          bool withWindow, FrameChanges& frames);
    OpenPresentation& AddFile(const ScenarioFile& file, FrameChanges& frames);
    void StartShow(const ScenarioShow& show, const OpenPresentation& presentation);

    Scenario setup;
    std::uint64_t nextId = 1;
    int untitledCount = 0;
    std::vector<OpenPresentation> presentations;  // collection order
    std::uint64_t activeId = 0;                   // 0: none
    std::vector<RunningShow> shows;               // SlideShowWindows order
    std::uint64_t keyboardShowId = 0;             // 0: a window of another program has it
};

}  // namespace pptsim

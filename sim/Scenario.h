// What the simulated PowerPoint starts with: read from the JSON file named by PPTSIM_SCENARIO,
// or given as JSON text by a test.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/ScenarioSyncRoots.h"

namespace pptsim {

struct ScenarioFile {
    std::wstring fullName;  // a Windows path or a URL (a deck kept in OneDrive or SharePoint)
    // What FullName reports once the deck is open, when it differs from the name it is opened
    // by ("fullName": a synced folder's deck reports its URL); empty: the same.
    std::wstring reportedName;
    int slideCount = 0;
    int firstSlideNumber = 1;  // PageSetup.FirstSlideNumber
    std::vector<int> hidden;   // positions of the slides the show skips
    int rangeStart = 0;        // the saved show range, positions from 1; 0: every slide
    int rangeEnd = 0;
    bool readOnly = false;      // opens read-only (a file whose read-only attribute is set)
    std::map<int, int> clicks;  // click-triggered builds per slide position
    // Custom shows by name, each its slides' positions in the order it shows them.
    std::map<std::wstring, std::vector<int>> namedShows;
};

struct ScenarioShow {
    std::wstring presentation;
    int slide = 1;           // the slide's position in the deck
    bool ended = false;      // stands on the black screen after the last shown slide
    int click = 0;           // builds of its slide already played
    std::wstring namedShow;  // the custom show it runs; empty: the deck's own show
    // Stands on a slide outside its custom show, where a hyperlink on one of its slides took it.
    bool reachedByLink = false;
};

// PowerPoint started again by the presenter (a deck double-clicked) some time after it exited.
struct ScenarioRestart {
    int afterMs = 0;
    std::vector<std::wstring> open;
    std::optional<std::wstring> active;
    std::vector<ScenarioShow> shows;
};

// What PowerPoint does when its last frame closes while a client holds a reference: whether it
// does is not documented, so both are played.
enum class LastWindowCloses {
    Exit,  // it ends; every reference it handed out fails from then on
    Stay,  // it hides and keeps serving its clients
};
// How frame titles name a presentation: Windows hides the extensions of known file types by
// default, and Office's window names follow that setting.
enum class FrameTitleStyle { WithExtension, WithoutExtension };

struct Scenario {
    bool registered = true;
    bool available = true;
    std::vector<ScenarioFile> files;  // what Open can open, with slide counts
    std::vector<std::wstring> open;   // open at start, in collection order
    std::optional<std::wstring> active;
    std::vector<ScenarioShow> shows;  // running at start, in SlideShowWindows order
    std::set<std::string> failMembers;
    // Members whose calls fail with RPC_E_SERVERFAULT: PowerPoint raised an exception while
    // serving the call, and keeps running.
    std::set<std::string> faultMembers;
    int delayMs = 0;
    // The first calls of each named member that a busy PowerPoint rejects (RPC_E_CALL_REJECTED).
    std::map<std::string, int> reject;
    // Members whose first call opens a busy spell of this many milliseconds, in which PowerPoint
    // rejects every call of any member (a dialog open).
    std::map<std::string, int> rejectFor;
    LastWindowCloses whenLastWindowCloses = LastWindowCloses::Exit;
    // Open at start with unsaved changes: closing the frame asks whether to save them.
    std::set<std::wstring> unsaved;
    // Open at start in a minimised window (DocumentWindow.WindowState ppWindowMinimized, the
    // frame iconic).
    std::set<std::wstring> minimized;
    FrameTitleStyle frameTitles = FrameTitleStyle::WithExtension;

    // ---- A presenter's desk ----
    // Open at start in Protected View, after "open": in ProtectedViewWindows, not Presentations.
    std::vector<std::wstring> protectedView;
    // Whether the running PowerPoint registers in the running object table ("rot": false: it
    // never does, as Office before it first loses the focus).
    bool rot = true;
    // Started again by itself after it exits, once.
    std::optional<ScenarioRestart> restart;
    // The sync engine's folders, published in the registry when PowerPoint starts.
    std::vector<ScenarioSyncRoot> syncRoots;
};

// Parses and checks a scenario; throws std::runtime_error with a one-line reason.
Scenario ParseScenario(const std::string& jsonText);

// The scenario named by PPTSIM_SCENARIO (defaults when unset). A file that cannot be read or
// parsed is reported on standard error in one line and gives an unavailable PowerPoint.
Scenario LoadScenarioFromEnvironment();

}  // namespace pptsim

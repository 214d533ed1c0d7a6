// What PowerPoint reports where its behaviour could only be inferred: each look asks the
// field check's own connection to PowerPoint (on Windows the PowerPoint the plug-in drives) and
// records the answer, whatever it is.
#include <utility>

#include "fieldcheck/ForegroundWindow.h"
#include "fieldcheck/PowerPointDeck.h"
#include "support/PowerPointWindows.h"
#include "support/PresentationPaths.h"
#include "support/TextConversion.h"

namespace {

constexpr std::int32_t kWindowNormal = 1;  // PpWindowState
constexpr std::int32_t kWindowMinimized = 2;

std::string TriState(int value) {
    return value == -1 ? "msoTrue" : value == 0 ? "msoFalse" : std::to_string(value);
}

std::string Ids(const std::vector<std::int32_t>& ids) {
    std::string text = "[";
    for (std::int32_t id : ids) {
        text += (text.size() > 1 ? " " : "") + std::to_string(id);
    }
    return text + "]";
}

// A show of the deck, run with its saved settings; its window and view. Ended by EndShow.
struct OwnShow {
    DispatchPtr window;
    DispatchPtr view;
};

OwnShow RunShow(CallChain& calls, IDispatch* deck) {
    OwnShow show;
    show.window = calls.Call(calls.Read(deck, L"SlideShowSettings").Get(), L"Run", {});
    show.view = calls.Read(show.window.Get(), L"View");
    return show;
}

void EndShow(const OwnShow& show) {
    CallChain ending;  // ended even after a call of the look failed
    ending.Do(show.view.Get(), L"Exit");
}

}  // namespace

template <typename Look>
Observation PowerPointDeck::LookAtDeck(std::string fact, const std::wstring& fullName, Look look) {
    std::string problem;
    if (!Reachable(problem)) {
        return {std::move(fact), problem, false};
    }
    CallChain calls;
    DispatchPtr deck = FindOpen(calls, fullName);
    const bool opened = !deck && !calls.Failed();
    if (opened) {
        deck = calls.Call(calls.Read(application.Get(), L"Presentations").Get(), L"Open",
                          {Argument::Text(fullName)});
    }
    std::string reported = deck ? look(calls, deck.Get()) : std::string();
    if (opened && deck) {
        CallChain closing;
        closing.Do(deck.Get(), L"Close");
    }
    if (calls.Failed()) {
        return {std::move(fact), calls.Problem(), false};
    }
    return {std::move(fact), std::move(reported), true};
}

std::vector<Observation> PowerPointDeck::ObserveOwnShows(const DeckUnderTest& deck) {
    std::vector<Observation> observed;
    observed.push_back(LookAtDeck(
        "the end screen after the last slide's builds (State, GetClickIndex; inferred 0)",
        deck.fullName, [](CallChain& calls, IDispatch* presentation) {
            const OwnShow show = RunShow(calls, presentation);
            calls.Do(show.view.Get(), L"Last");
            const int builds = calls.Integer(show.view.Get(), L"GetClickCount", DISPATCH_METHOD);
            for (int build = 0; build <= builds && !calls.Failed(); ++build) {
                calls.Do(show.view.Get(), L"Next");  // the builds, then the end screen
            }
            const std::string reported =
                "State " + std::to_string(calls.Integer(show.view.Get(), L"State")) +
                ", GetClickIndex " +
                std::to_string(calls.Integer(show.view.Get(), L"GetClickIndex", DISPATCH_METHOD)) +
                ", GetClickCount " +
                std::to_string(calls.Integer(show.view.Get(), L"GetClickCount", DISPATCH_METHOD));
            EndShow(show);
            return reported;
        }));
    observed.push_back(LookAtDeck(
        "a show Run starts has the keyboard (SlideShowWindow.Active; inferred msoFalse when "
        "another program is in front)",
        deck.fullName, [](CallChain& calls, IDispatch* presentation) {
            const std::string front = DescribeForegroundWindow();
            const OwnShow show = RunShow(calls, presentation);
            const int afterRun = calls.Integer(show.window.Get(), L"Active");
            calls.Do(show.window.Get(), L"Activate");
            const int afterActivate = calls.Integer(show.window.Get(), L"Active");
            EndShow(show);
            return "after Run " + TriState(afterRun) + ", after Activate " +
                   TriState(afterActivate) + "; in front before Run: " + front;
        }));
    if (!deck.tour.fullName.empty()) {
        observed.push_back(LookAtDeck(
            "a custom show listing a slide twice counts it (CurrentShowPosition on its last "
            "stop; inferred " +
                std::to_string(deck.tour.slides.size()) + ")",
            deck.tour.fullName, [](CallChain& calls, IDispatch* presentation) {
                const OwnShow show = RunShow(calls, presentation);
                calls.Do(show.view.Get(), L"Last");
                const int position = calls.Integer(show.view.Get(), L"CurrentShowPosition");
                const int slide =
                    calls.Integer(calls.Read(show.view.Get(), L"Slide").Get(), L"SlideIndex");
                EndShow(show);
                return "CurrentShowPosition " + std::to_string(position) + " on slide " +
                       std::to_string(slide);
            }));
        observed.push_back(
            {"a custom show listing a slide twice keeps both in "
             "NamedSlideShow.SlideIDs (inferred)",
             "made of slides [2 3 2], its SlideIDs read back " + Ids(deck.tour.readIds), true});
    }
    return observed;
}

Observation PowerPointDeck::ObserveMinimisedWindow(const std::wstring& fullName) {
    return LookAtDeck(
        "a minimised window stays minimised through DocumentWindow.Activate and a raise by "
        "SetWindowPos (inferred)",
        fullName, [&fullName](CallChain& calls, IDispatch* presentation) {
            DispatchPtr window = calls.Call(calls.Read(presentation, L"Windows").Get(), L"Item",
                                            {Argument::Integer(1)});
            const int before = calls.Integer(window.Get(), L"WindowState");
            calls.Put(window.Get(), L"WindowState", Argument::Integer(kWindowMinimized));
            calls.Do(window.Get(), L"Activate");
            const int afterActivate = calls.Integer(window.Get(), L"WindowState");
            ActivatePresentationWindow(fullName);
            HWND frame = FindPresentationFrame(fullName);
            const int afterRaise = calls.Integer(window.Get(), L"WindowState");
            const std::string iconic = frame == nullptr       ? "no frame seen"
                                       : IsIconic(frame) != 0 ? "frame iconic"
                                                              : "frame not iconic";
            calls.Put(window.Get(), L"WindowState",
                      Argument::Integer(before > 0 ? before : kWindowNormal));
            return "WindowState " + std::to_string(afterActivate) + " after Activate, " +
                   std::to_string(afterRaise) + " after the raise (" + iconic + ")";
        });
}

Observation PowerPointDeck::ObserveSecondOpen(const std::wstring& path,
                                              const std::wstring& fullName) {
    const std::string fact =
        "a second Open of a synced deck by its local path makes a read-only copy (inferred)";
    if (!HasUrlScheme(fullName)) {
        return {fact, "the deck is in no folder OneDrive keeps in step; name one with --deck",
                false};
    }
    std::string problem;
    if (!Reachable(problem)) {
        return {fact, problem, false};
    }
    CallChain calls;
    DispatchPtr presentations = calls.Read(application.Get(), L"Presentations");
    // Open once by the path (unless it is open already), then a second time by the same path.
    DispatchPtr first = FindOpen(calls, fullName);
    const bool opened = !first && !calls.Failed();
    if (opened) {
        first = calls.Call(presentations.Get(), L"Open", {Argument::Text(path)});
    }
    const int before = calls.Integer(presentations.Get(), L"Count");
    DispatchPtr second = calls.Call(presentations.Get(), L"Open", {Argument::Text(path)});
    const int after = calls.Integer(presentations.Get(), L"Count");
    const int readOnly = calls.Integer(second.Get(), L"ReadOnly");
    CallChain closing;
    if (after > before) {
        closing.Do(second.Get(), L"Close");
    }
    if (opened && first) {
        closing.Do(first.Get(), L"Close");
    }
    if (calls.Failed()) {
        return {fact, calls.Problem(), false};
    }
    return {fact,
            "Presentations.Count " + std::to_string(before) + " -> " + std::to_string(after) +
                ", the second Open gave ReadOnly " + TriState(readOnly),
            true};
}

Observation PowerPointDeck::ReadShowActive(const std::string& front) {
    const std::string fact =
        "the show the play key started has the keyboard (SlideShowWindow.Active after the "
        "plug-in's Run and Activate)";
    std::string problem;
    if (!Reachable(problem)) {
        return {fact, problem, false};
    }
    CallChain calls;
    DispatchPtr windows = calls.Read(application.Get(), L"SlideShowWindows");
    if (calls.Integer(windows.Get(), L"Count") < 1) {
        return {fact,
                calls.Failed() ? calls.Problem()
                               : "the PowerPoint this program reaches runs no show; a simulated "
                                 "PowerPoint serves each program its own",
                false};
    }
    const int active =
        calls.Integer(calls.Call(windows.Get(), L"Item", {Argument::Integer(1)}).Get(), L"Active");
    if (calls.Failed()) {
        return {fact, calls.Problem(), false};
    }
    return {fact,
            TriState(active) + "; in front before the press: " + front +
                "; after it: " + DescribeForegroundWindow(),
            true};
}

Observation PowerPointDeck::ReadWindowState(const std::wstring& fullName) {
    const std::string fact = "a minimised deck's WindowState after the load press (1: normal)";
    std::string problem;
    if (!Reachable(problem)) {
        return {fact, problem, false};
    }
    CallChain calls;
    DispatchPtr deck = FindOpen(calls, fullName);
    if (!deck) {
        return {fact,
                calls.Failed() ? calls.Problem()
                               : "the deck is not open in the PowerPoint this program reaches; a "
                                 "simulated PowerPoint serves each program its own",
                false};
    }
    DispatchPtr window =
        calls.Call(calls.Read(deck.Get(), L"Windows").Get(), L"Item", {Argument::Integer(1)});
    const int state = calls.Integer(window.Get(), L"WindowState");
    if (calls.Failed()) {
        return {fact, calls.Problem(), false};
    }
    return {fact, "WindowState " + std::to_string(state), true};
}

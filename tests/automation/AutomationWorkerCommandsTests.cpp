// The thirteen commands, end to end through the worker against the simulated PowerPoint.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "automation/AutomationWorker.h"
#include "support/DiagnosticsFile.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

using Command = PowerPointCommand;

class AutomationWorkerCommands : public SimulationTest {
protected:
    // Starts the worker against the scenario; the worker connects to PowerPoint on its thread.
    void StartWith(const std::string& scenario) {
        UseScenario(scenario);
        worker.Start();
    }
    void TearDown() override {
        worker.Stop();
        SimulationTest::TearDown();
    }

    // A long bound: these tests are about what the commands do, not about waiting.
    AutomationWorker worker{std::chrono::seconds(60)};
};

int CurrentShowSlide() {
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    return state.shows.empty() ? 0 : state.shows.front().slide;
}

std::string WithFailingMember(std::string scenario, const std::string& member) {
    return scenario.insert(scenario.find('{') + 1, "\"failMembers\": [\"" + member + "\"],");
}

void ExpectEveryCommandFails(AutomationWorker& worker) {
    for (Command command :
         {Command::IsInSlideShow, Command::OpenPresentation, Command::StartSlideShow,
          Command::ExitSlideShow, Command::NextSlide, Command::PreviousSlide, Command::FirstSlide,
          Command::LastSlide, Command::ClosePowerPoint}) {
        EXPECT_FALSE(worker.SubmitBool(command, kQ3Review)) << "code " << static_cast<int>(command);
    }
    EXPECT_EQ(worker.SubmitInt(Command::GetCurrentSlide, L""), -1);
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kQ3Review), -1);
    EXPECT_EQ(worker.SubmitString(L""), L"");
    EXPECT_TRUE(worker.SubmitList(L"").empty());
}

TEST_F(AutomationWorkerCommands, SlideNavigation_MovesTheFirstShowAndWrapsRound) {
    struct Case {
        Command command;
        int slideBefore;
        const char* methodCalled;
        int slideAfter;
    };
    const Case cases[] = {
        {Command::NextSlide, 3, "call SlideShowView.Next", 4},
        {Command::NextSlide, 12, "call SlideShowView.First", 1},
        {Command::PreviousSlide, 3, "call SlideShowView.Previous", 2},
        {Command::PreviousSlide, 1, "call SlideShowView.Last", 12},
        {Command::FirstSlide, 7, "call SlideShowView.First", 1},
        {Command::LastSlide, 7, "call SlideShowView.Last", 12},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.methodCalled) + " from slide " +
                     std::to_string(test.slideBefore));
        // Each case gets a fresh PowerPoint, and a fresh worker connected to it.
        worker.Stop();
        StartWith(ShowScenario(test.slideBefore));
        EXPECT_TRUE(worker.SubmitBool(test.command, L""));
        ASSERT_FALSE(Trace().empty());
        EXPECT_EQ(Trace().back(), test.methodCalled);
        EXPECT_EQ(CurrentShowSlide(), test.slideAfter);
        EXPECT_EQ(worker.SubmitInt(Command::GetCurrentSlide, L""), test.slideAfter);
    }
}

// A tour that opens and closes on its agenda slide: its first and last stops show the same slide,
// so only the position in the custom show tells them apart. `where` places its show.
std::string TourScenario(const std::string& where) {
    return R"({"files": {"C:\\Talks\\Q3 review.pptx": {"slides": 12,
                                                   "namedShows": {"Tour": [2, 5, 9, 2]}}},
               "open": ["C:\\Talks\\Q3 review.pptx"],
               "shows": [{"presentation": "C:\\Talks\\Q3 review.pptx", "namedShow": "Tour")" +
           where + "}]}";
}

TEST_F(AutomationWorkerCommands, CustomShowThatComesBack_WrapsByItsPositionNotTheSlide) {
    StartWith(TourScenario(""));
    struct Press {
        Command command;
        const char* methodCalled;
        int slideAfter;
    };
    const Press presses[] = {
        {Command::NextSlide, "call SlideShowView.Next", 5},
        {Command::NextSlide, "call SlideShowView.Next", 9},
        {Command::NextSlide, "call SlideShowView.Next", 2},
        {Command::NextSlide, "call SlideShowView.First", 2},
        {Command::NextSlide, "call SlideShowView.Next", 5},  // the wrap went to the first stop
        {Command::PreviousSlide, "call SlideShowView.Previous", 2},
        {Command::PreviousSlide, "call SlideShowView.Last", 2},
        {Command::PreviousSlide, "call SlideShowView.Previous", 9},  // from the last stop
    };
    for (const Press& press : presses) {
        SCOPED_TRACE(std::string(press.methodCalled) + " to slide " +
                     std::to_string(press.slideAfter));
        ASSERT_TRUE(worker.SubmitBool(press.command, kQ3Review));
        EXPECT_EQ(Trace().back(), press.methodCalled);
        EXPECT_EQ(CurrentShowSlide(), press.slideAfter);
    }
}

// A hyperlink took the custom show to a slide outside it: PowerPoint's own steps go on from there.
TEST_F(AutomationWorkerCommands, CustomShowOnASlideOutsideIt_StepsWithoutWrapping) {
    for (const auto& [command, methodCalled, slideAfter] :
         {std::tuple{Command::NextSlide, "call SlideShowView.Next", 8},
          std::tuple{Command::PreviousSlide, "call SlideShowView.Previous", 6}}) {
        SCOPED_TRACE(methodCalled);
        worker.Stop();
        StartWith(TourScenario(R"(, "slide": 7, "reachedByLink": true)"));
        EXPECT_TRUE(worker.SubmitBool(command, kQ3Review));
        EXPECT_EQ(Trace().back(), methodCalled);
        EXPECT_EQ(CurrentShowSlide(), slideAfter);
    }
}

TEST_F(AutomationWorkerCommands, SlideNavigation_ActsOnlyOnTheFirstSlideShowWindow) {
    StartWith(R"({
      "files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
      "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
      "shows": [{"presentation": "C:\\Talks\\Intro.pptx", "slide": 2},
                {"presentation": "C:\\Talks\\Q3 review.pptx", "slide": 5}]})");
    EXPECT_TRUE(worker.SubmitBool(Command::NextSlide, L""));
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    ASSERT_EQ(state.shows.size(), 2u);
    EXPECT_EQ(state.shows[0].slide, 3);
    EXPECT_EQ(state.shows[1].slide, 5);
}

TEST_F(AutomationWorkerCommands, ShowCommands_FailWithoutARunningShow) {
    StartWith(kTalksScenario);
    for (Command command : {Command::NextSlide, Command::PreviousSlide, Command::FirstSlide,
                            Command::LastSlide, Command::IsInSlideShow, Command::ExitSlideShow}) {
        EXPECT_FALSE(worker.SubmitBool(command, kQ3Review)) << static_cast<int>(command);
    }
    EXPECT_EQ(worker.SubmitInt(Command::GetCurrentSlide, L""), -1);
    EXPECT_FALSE(TraceMentions("SlideShowWindows.Item"))
        << "no window is fetched from an empty collection";
}

TEST_F(AutomationWorkerCommands, PathCommands_CompareFullNamesAsWindowsDoes) {
    struct Case {
        std::wstring path;
        bool matches;
    };
    const Case cases[] = {
        {kQ3Review, true},
        {L"c:\\talks\\q3 REVIEW.pptx", true},  // Windows ignores the letter case
        {L"C:/Talks/Q3 review.pptx", false},
        {L"C:\\Talks\\Q3 review.pptx ", false},
        {L"Q3 review.pptx", false},
        {L"", false},
    };
    StartWith(ShowScenario(4));
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.path.begin(), test.path.end()));
        EXPECT_EQ(worker.SubmitBool(Command::IsInSlideShow, test.path), test.matches);
        EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, test.path), test.matches ? 12 : -1);
    }
    // Exiting with a near-miss path leaves the show running; the path ends it.
    EXPECT_FALSE(worker.SubmitBool(Command::ExitSlideShow, L"C:/Talks/Q3 review.pptx"));
    EXPECT_EQ(pptsim::ReadSimulationState().shows.size(), 1u);
    EXPECT_TRUE(worker.SubmitBool(Command::ExitSlideShow, kQ3Review));
    EXPECT_TRUE(pptsim::ReadSimulationState().shows.empty());
    EXPECT_FALSE(worker.SubmitBool(Command::IsInSlideShow, kQ3Review));
}

TEST_F(AutomationWorkerCommands, IsInSlideShow_FindsAShowInAnyWindow) {
    StartWith(R"({
      "files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
      "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
      "shows": [{"presentation": "C:\\Talks\\Intro.pptx"},
                {"presentation": "C:\\Talks\\Q3 review.pptx"}]})");
    EXPECT_TRUE(worker.SubmitBool(Command::IsInSlideShow, kQ3Review));
    EXPECT_TRUE(worker.SubmitBool(Command::IsInSlideShow, kIntro));
}

TEST_F(AutomationWorkerCommands, GetSlideCount_IsMinusOneForZeroSlidesAndClosedFiles) {
    StartWith(kTalksScenario);
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kQ3Review), 12);
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kIntro), 5);
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kEmpty), -1);
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kClosed), -1);
}

TEST_F(AutomationWorkerCommands, PresentationQueries_ReportActiveAndOpenPresentations) {
    StartWith(kTalksScenario);
    EXPECT_EQ(worker.SubmitString(L""), kIntro);
    EXPECT_EQ(worker.SubmitList(L""), (std::vector<std::wstring>{kQ3Review, kIntro, kEmpty}));
}

TEST_F(AutomationWorkerCommands, PresentationQueries_AreEmptyWithNothingOpen) {
    StartWith(R"({"files": {"C:\\Talks\\Intro.pptx": 5}})");
    EXPECT_EQ(worker.SubmitString(L""), L"");
    EXPECT_TRUE(worker.SubmitList(L"").empty());
    EXPECT_FALSE(worker.SubmitBool(Command::StartSlideShow, L""));
}

TEST_F(AutomationWorkerCommands, StartSlideShow_RunsTheActivePresentationAndRaisesItsFrame) {
    StartWith(kTalksScenario);
    WindowList::Instance().ClearRecordedCalls();
    EXPECT_TRUE(worker.SubmitBool(Command::StartSlideShow, L""));
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    ASSERT_EQ(state.shows.size(), 1u);
    EXPECT_EQ(state.shows[0].presentation, kIntro);
    EXPECT_TRUE(worker.SubmitBool(Command::IsInSlideShow, kIntro));

    HWND introFrame = state.open[1].frame;
    const std::vector<SetWindowPosCall> moves = WindowList::Instance().SetWindowPosCalls();
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].window, introFrame);
    EXPECT_EQ(moves[1].window, introFrame);
}

TEST_F(AutomationWorkerCommands, StartSlideShow_FailsForAPresentationWithoutSlides) {
    StartWith(R"({"files": {"C:\\Talks\\Empty.pptx": 0}, "open": ["C:\\Talks\\Empty.pptx"]})");
    EXPECT_FALSE(worker.SubmitBool(Command::StartSlideShow, L""));
    EXPECT_TRUE(pptsim::ReadSimulationState().shows.empty());
}

// The load press of an open deck brings a minimised window back before raising its frame, through
// PowerPoint, or through user32 where PowerPoint cannot say; a maximised window stays maximised.
TEST_F(AutomationWorkerCommands, OpenPresentation_RestoresAMinimisedWindowOnly) {
    struct Case {
        const char* name;
        const char* members;  // what the scenario adds
        int windowState;      // written before the press; 0: none
        bool written;         // whether the press writes WindowState
        int stateAfter;
    };
    const Case cases[] = {
        {"minimised", R"("minimized": ["C:\\Talks\\Q3 review.pptx"],)", 0, true, 1},
        {"maximised", "", 3, false, 3},
        {"normal", "", 0, false, 1},
        {"minimised, PowerPoint cannot say",
         R"("minimized": ["C:\\Talks\\Q3 review.pptx"], "failMembers": ["WindowState"],)", 0, false,
         1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        worker.Stop();
        Start(std::string("{") + test.members + R"("files": {"C:\\Talks\\Q3 review.pptx": 12},
                                                    "open": ["C:\\Talks\\Q3 review.pptx"]})");
        ComPtr<IDispatch> window = CallObject(GetObject(Presentation(1).Get(), L"Windows").Get(),
                                              L"Item", {Argument::Integer(1)});
        if (test.windowState != 0) {
            ASSERT_EQ(
                WriteProperty(window.Get(), L"WindowState", Argument::Integer(test.windowState)),
                S_OK);
        }
        worker.Start();
        pptsim::ClearSimulationTrace();
        EXPECT_TRUE(worker.SubmitBool(Command::OpenPresentation, kQ3Review));
        EXPECT_EQ(TraceHas("put DocumentWindow.WindowState 1"), test.written);
        const pptsim::PresentationState deck = pptsim::ReadSimulationState().open.at(0);
        EXPECT_EQ(deck.windowState, test.stateAfter);
        EXPECT_EQ(IsIconic(deck.frame), FALSE);
        EXPECT_FALSE(TraceMentions("Presentations.Open"));
    }
}

TEST_F(AutomationWorkerCommands, OpenPresentation_OpensActivatesOrFails) {
    StartWith(kTalksScenario);

    // Already open: its window is activated, the file is not opened a second time.
    EXPECT_TRUE(worker.SubmitBool(Command::OpenPresentation, kQ3Review));
    EXPECT_EQ(pptsim::ReadSimulationState().active, kQ3Review);
    EXPECT_TRUE(TraceHas("call DocumentWindow.Activate"));
    EXPECT_FALSE(TraceMentions("Presentations.Open"));

    // Not open: opened, and it becomes the active presentation.
    EXPECT_TRUE(worker.SubmitBool(Command::OpenPresentation, kClosed));
    EXPECT_EQ(worker.SubmitString(L""), kClosed);
    EXPECT_EQ(worker.SubmitList(L"").size(), 4u);

    // A file PowerPoint cannot open.
    EXPECT_FALSE(worker.SubmitBool(Command::OpenPresentation, L"C:\\Talks\\Missing.pptx"));
    EXPECT_EQ(worker.SubmitList(L"").size(), 4u);
}

TEST_F(AutomationWorkerCommands, ClosePowerPoint_ClosesEveryFrameAndOnlyOpeningStartsItAgain) {
    StartWith(kTalksScenario);
    EXPECT_TRUE(worker.SubmitBool(Command::ClosePowerPoint, L""));
    EXPECT_FALSE(pptsim::ReadSimulationState().running);
    EXPECT_TRUE(WindowList::Instance().ZOrder().empty());

    // What a refresh or a slide key asks finds nothing and starts nothing.
    EXPECT_EQ(worker.SubmitString(L""), L"");
    EXPECT_TRUE(worker.SubmitList(L"").empty());
    EXPECT_FALSE(worker.SubmitBool(Command::IsInSlideShow, kQ3Review));
    EXPECT_FALSE(worker.SubmitBool(Command::NextSlide, L""));
    EXPECT_FALSE(pptsim::ReadSimulationState().running);
    // Opening a presentation starts PowerPoint again.
    EXPECT_TRUE(worker.SubmitBool(Command::OpenPresentation, kQ3Review));
    EXPECT_TRUE(TraceHas("start PowerPoint"));
    EXPECT_EQ(pptsim::ReadSimulationState().open.size(), 1u);
    EXPECT_EQ(worker.SubmitString(L""), kQ3Review);
}

TEST_F(AutomationWorkerCommands,
       ClosePowerPoint_LetsGoOfAPowerPointThatHidesAndSaysIfAFrameTookIt) {
    StartWith(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12},
                  "open": ["C:\\Talks\\Q3 review.pptx"], "whenLastWindowCloses": "stay"})");
    EXPECT_EQ(worker.SubmitString(L""), kQ3Review);
    EXPECT_TRUE(worker.SubmitBool(Command::ClosePowerPoint, L""));
    // Hidden, with no client left holding it, PowerPoint has nothing to stay for.
    EXPECT_FALSE(pptsim::ReadSimulationState().running) << "the worker still holds it";
    EXPECT_TRUE(TraceHas("exit PowerPoint"));
    EXPECT_FALSE(worker.SubmitBool(Command::ClosePowerPoint, L"")) << "no frame was left";
}

TEST_F(AutomationWorkerCommands, FailingMembers_GiveTheFailureResult) {
    struct Case {
        const char* member;
        std::function<void(AutomationWorker&)> check;
    };
    const Case cases[] = {
        {"FullName",
         [](AutomationWorker& w) {
             EXPECT_EQ(w.SubmitString(L""), L"");
             EXPECT_TRUE(w.SubmitList(L"").empty());
             EXPECT_EQ(w.SubmitInt(Command::GetSlideCount, kQ3Review), -1);
         }},
        {"ActivePresentation",
         [](AutomationWorker& w) {
             EXPECT_EQ(w.SubmitString(L""), L"");
             EXPECT_FALSE(w.SubmitBool(Command::StartSlideShow, L""));
         }},
        {"Run",
         [](AutomationWorker& w) { EXPECT_FALSE(w.SubmitBool(Command::StartSlideShow, L"")); }},
        {"Activate",
         [](AutomationWorker& w) {
             EXPECT_FALSE(w.SubmitBool(Command::OpenPresentation, kIntro));
         }},
        // A failed count does not stop the listing: items are fetched until one fails.
        {"Count",
         [](AutomationWorker& w) {
             EXPECT_EQ(w.SubmitList(L""), (std::vector<std::wstring>{kQ3Review, kIntro, kEmpty}));
             EXPECT_EQ(w.SubmitInt(Command::GetSlideCount, kQ3Review), -1);
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.member);
        worker.Stop();
        StartWith(WithFailingMember(kTalksScenario, test.member));
        test.check(worker);
    }
}

TEST_F(AutomationWorkerCommands, ShowFailingMembers_GiveFalse) {
    struct Case {
        const char* member;
        int slide;
    };
    const Case cases[] = {{"Next", 5},   {"First", 12},       {"View", 5},
                          {"Slides", 5}, {"Presentation", 5}, {"SlideShowWindows", 5}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.member);
        worker.Stop();
        StartWith(WithFailingMember(ShowScenario(test.slide), test.member));
        EXPECT_FALSE(worker.SubmitBool(Command::NextSlide, L""));
        EXPECT_EQ(CurrentShowSlide(), test.slide);
    }
}

TEST_F(AutomationWorkerCommands, UnreadableIsNamedShow_MovesAsTheDecksOwnShow) {
    StartWith(WithFailingMember(ShowScenario(5), "IsNamedShow"));
    EXPECT_TRUE(worker.SubmitBool(Command::NextSlide, L""));
    EXPECT_EQ(CurrentShowSlide(), 6);
}

TEST_F(AutomationWorkerCommands, CallSequences_FollowTheFixedOrder) {
    StartWith(ShowScenario(5));
    struct Case {
        Command command;
        std::wstring argument;
        std::vector<std::string> calls;
    };
    const std::vector<std::string> firstWindow = {"get Application.SlideShowWindows",
                                                  "get SlideShowWindows.Count",
                                                  "call SlideShowWindows.Item 1"};
    auto then = [](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::vector<std::string> q3Show = {
        "get Application.Presentations", "get Presentations.Count", "call Presentations.Item 1",
        "get Presentation.FullName", "get Presentation.SlideShowWindow"};
    const Case cases[] = {
        {Command::IsInSlideShow, kQ3Review,
         then(firstWindow, {"get SlideShowWindow.Presentation", "get Presentation.FullName"})},
        // Without a current presentation, the first show.
        {Command::FirstSlide, L"",
         then(firstWindow, {"get SlideShowWindow.View", "call SlideShowView.First"})},
        // After First: one hidden flag is read, the next slide's, which the show shows. The
        // current presentation's own show is found through the deck.
        {Command::NextSlide, kQ3Review,
         then(q3Show, {"get SlideShowWindow.View", "get SlideShowView.State",
                       "get SlideShowView.Slide", "get Slide.SlideIndex",
                       "get SlideShowView.IsNamedShow", "get Presentation.SlideShowSettings",
                       "get Presentation.Slides", "get SlideShowSettings.RangeType",
                       "get Slides.Count", "call Slides.Item 2", "get Slide.SlideShowTransition",
                       "get SlideShowTransition.Hidden", "call SlideShowView.Next"})},
        // The show started gets the keyboard; Active tells whether it took it.
        {Command::StartSlideShow,
         L"",
         {"get Application.ActivePresentation", "get Presentation.FullName",
          "get Presentation.SlideShowSettings", "call SlideShowSettings.Run",
          "call SlideShowWindow.Activate", "get SlideShowWindow.Active"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(static_cast<int>(test.command));
        pptsim::ClearSimulationTrace();
        EXPECT_TRUE(worker.SubmitBool(test.command, test.argument));
        EXPECT_EQ(Trace(), test.calls);
    }
}

// Not registered: the one message box (the stand-in writes it to standard error). Registered
// but not creatable: nothing shown. Either way every command fails.
TEST_F(AutomationWorkerCommands, Unreachable_FailsEverythingShowingOnlyTheNotRegisteredBox) {
    const struct {
        const char* scenario;
        const char* shown;
    } cases[] = {
        {R"({"registered": false})", "Error: CLSIDFromProgID() failed\n"},
        {R"({"available": false})", ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.scenario);
        worker.Stop();
        UseScenario(test.scenario);
        testing::internal::CaptureStderr();
        worker.Start();
        ExpectEveryCommandFails(worker);
        worker.Stop();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), test.shown);
    }
}

// Marks the diagnostics file, so that only lines written after the mark count: the file outlives
// the test binary's runs.
class DiagnosticsMark {
public:
    DiagnosticsMark()
        : mark("test mark " +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())) {
        WriteDiagnosticLine(mark);
    }
    // The lines written since the mark that contain `text`.
    std::vector<std::string> LinesWith(const std::string& text) const {
        DiagnosticsFile& diagnostics = ProcessDiagnosticsFile();
        EXPECT_TRUE(diagnostics.Drain(std::chrono::seconds(20)));
        std::ifstream file(std::filesystem::path(diagnostics.OpenedPath()));
        std::vector<std::string> lines;
        bool marked = false;
        for (std::string line; std::getline(file, line);) {
            marked = marked || line.find(mark) != std::string::npos;
            if (marked && line.find(text) != std::string::npos) {
                lines.push_back(line);
            }
        }
        return lines;
    }

private:
    const std::string mark;
};

// PowerPoint's frame shows, but COM will not reach it: still starting, a dialog, or run as
// administrator (or the plug-in is). Said when the refusal begins: once, and once more after
// activation worked in between.
TEST_F(AutomationWorkerCommands, RefusedActivation_IsWrittenWhenItBeginsNamingItsPossibleCauses) {
    HWND frame =
        WindowList::Instance().Create(L"PPTFrameClass", L"Q3 review.pptx - PowerPoint", nullptr);
    const DiagnosticsMark mark;
    const auto refusedTwice = [this] {
        for (int press = 0; press < 2; ++press) {
            EXPECT_FALSE(worker.SubmitBool(Command::NextSlide, L""));
            EXPECT_EQ(worker.SubmitString(L"", AutomationWorker::Patience::Refresh), L"");
        }
    };
    StartWith(R"({"available": false})");
    refusedTwice();
    UseScenario(kTalksScenario);
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kIntro), 5) << "reached in between";
    UseScenario(R"({"available": false})");
    refusedTwice();
    worker.Stop();
    const std::vector<std::string> said = mark.LinesWith("refused activation");
    ASSERT_EQ(said.size(), 2u);
    for (const char* cause : {"CO_E_SERVER_EXEC_FAILURE", "starting", "dialog", "administrator"}) {
        EXPECT_NE(said[0].find(cause), std::string::npos) << said[0];
    }
    WindowList::Instance().Destroy(frame);
}

// PowerPoint survives an exception raised while it served a call: the worker asks it, keeps it,
// and says nothing of it having gone.
TEST_F(AutomationWorkerCommands, ServerFaultInOneCall_KeepsPowerPoint) {
    std::string scenario = ShowScenario(3);
    StartWith(scenario.insert(1, R"("faultMembers": ["Next"],)"));
    const DiagnosticsMark mark;
    EXPECT_FALSE(worker.SubmitBool(Command::NextSlide, L""));
    EXPECT_EQ(Trace().back(), "get Application.Version");
    EXPECT_EQ(worker.SubmitInt(Command::GetCurrentSlide, L""), 3);
    worker.Stop();
    EXPECT_EQ(mark.LinesWith("RPC_E_SERVERFAULT").size(), 1u);
    EXPECT_TRUE(mark.LinesWith("PowerPoint has gone").empty());
    EXPECT_TRUE(mark.LinesWith("attached").empty());
}

TEST_F(AutomationWorkerCommands, CodesOutsideTheSet_YieldZeroAndCallNothing) {
    StartWith(kTalksScenario);
    for (std::int32_t code : {13, 99, -1}) {
        EXPECT_EQ(worker.SubmitInt(static_cast<Command>(code), kQ3Review), 0) << code;
    }
    EXPECT_TRUE(Trace().empty());
}

TEST_F(AutomationWorkerCommands, SubmissionOfTheWrongType_RaisesBadVariantAccess) {
    StartWith(kTalksScenario);
    EXPECT_THROW(worker.SubmitBool(Command::GetActivePresentation, L""), std::bad_variant_access);
    EXPECT_THROW(worker.SubmitBool(Command::GetSlideCount, kQ3Review), std::bad_variant_access);
    EXPECT_THROW(worker.SubmitInt(Command::NextSlide, L""), std::bad_variant_access);
    EXPECT_THROW(worker.SubmitBool(static_cast<Command>(42), L""), std::bad_variant_access);
    // The channel still serves after a misuse.
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kIntro), 5);
}

}  // namespace

// The simulated PowerPoint on a presenter's desk: decks in a synced folder, builds, custom shows,
// decks in Protected View, a PowerPoint outside the running object table and one the presenter
// starts again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/ComApartment.h"
#include "sim/SimulationIds.h"
#include "tests/NamedCase.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

// ---- A deck in a synced folder ----------------------------------------------------------------

const std::wstring kSyncedPath = L"C:\\Users\\ann\\OneDrive\\Talks\\Q3 review.pptx";
const std::wstring kSyncedUrl = L"https://d.docs.live.net/4f2a9c/Talks/Q3 review.pptx";

TEST_F(SimulationTest, SyncedDeck_ReportsItsUrlAndEitherNameOpensAReadOnlyCopy) {
    Start(R"({"files": {"C:\\Users\\ann\\OneDrive\\Talks\\Q3 review.pptx":
                {"slides": 12, "fullName": "https://d.docs.live.net/4f2a9c/Talks/Q3 review.pptx"}}})");
    ComPtr<IDispatch> opened =
        CallObject(Presentations().Get(), L"Open", {Argument::Text(kSyncedPath)});
    ASSERT_TRUE(opened);
    EXPECT_EQ(GetText(opened.Get(), L"FullName"), kSyncedUrl);
    EXPECT_EQ(GetText(opened.Get(), L"Name"), L"Q3 review.pptx");
    EXPECT_EQ(WindowTitle(GetTopWindow(GetDesktopWindow())), L"Q3 review.pptx - PowerPoint");

    int copies = 1;
    for (const std::wstring& again :
         {kSyncedUrl, std::wstring(L"c:/users/ann/onedrive/talks/Q3 REVIEW.pptx")}) {
        ComPtr<IDispatch> copy =
            CallObject(Presentations().Get(), L"Open", {Argument::Text(again)});
        ASSERT_TRUE(copy);
        EXPECT_EQ(GetText(copy.Get(), L"FullName"), kSyncedUrl);
        EXPECT_EQ(GetInteger(Presentations().Get(), L"Count"), ++copies);
        EXPECT_EQ(WindowTitle(GetTopWindow(GetDesktopWindow())),
                  L"Q3 review.pptx [Read-Only] - PowerPoint");
    }
}

// ---- Builds and custom shows ----------------------------------------------------------------

// Slide 1 has one build, slide 2 two, slide 9 one; three custom shows, one coming back to its
// first slide.
constexpr const char* kBuiltDeck = R"({"files": {"C:\\Talks\\Q3 review.pptx": {"slides": 9,
    "clicks": {"1": 1, "2": 2, "9": 1},
    "namedShows": {"Short": [2, 5, 9], "Backwards": [3, 2, 1], "Tour": [2, 5, 9, 2]}}},
  "open": ["C:\\Talks\\Q3 review.pptx"],
  "shows": [{"presentation": "C:\\Talks\\Q3 review.pptx", )";

struct WalkCase : NamedCase {
    const char* start;  // the show's members besides "presentation"
    const wchar_t* method;
    int slide;  // where the show stands after; 0: it has ended
    int click;  // builds of that slide played
    bool ended;
    int position;  // CurrentShowPosition
    Arguments arguments = {};
};

class ShowWalk : public SimulationTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(ShowWalk, PlaysAndTakesBackBuildsAndKeepsToItsShow) {
    const WalkCase& c = GetParam();
    Start(std::string(kBuiltDeck) + c.start + "}]}");
    ComPtr<IDispatch> view = FirstView();
    ASSERT_TRUE(view);
    ASSERT_EQ(CallWithoutAnswer(view.Get(), c.method, c.arguments), S_OK);

    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    if (c.slide == 0) {
        EXPECT_TRUE(state.shows.empty());
        return;
    }
    ASSERT_EQ(state.shows.size(), 1u);
    EXPECT_EQ(state.shows[0].slide, c.slide);
    EXPECT_EQ(state.shows[0].ended, c.ended);
    EXPECT_EQ(state.shows[0].click, c.click);
    const long clicks = c.ended ? 0 : c.slide == 1 || c.slide == 9 ? 1 : c.slide == 2 ? 2 : 0;
    EXPECT_EQ(GetInteger(view.Get(), L"CurrentShowPosition"), c.position);
    EXPECT_EQ(CallMember(view.Get(), L"GetClickIndex").Integer(), c.click);
    EXPECT_EQ(CallMember(view.Get(), L"GetClickCount").Integer(), clicks);
}

// GotoSlide's arguments.
template <typename... Index>
Arguments Integers(Index... indexes) {
    return {Argument::Integer(indexes)...};
}

const WalkCase kWalks[] = {
    {"NextPlaysTheSlidesNextBuild", R"("slide": 2)", L"Next", 2, 1, false, 2},
    {"NextAfterTheLastBuildGoesOn", R"("slide": 2, "click": 2)", L"Next", 3, 0, false, 3},
    {"NextOnTheLastSlidePlaysItsBuildFirst", R"("slide": 9)", L"Next", 9, 1, false, 9},
    {"NextOnTheLastSlideBuiltReachesTheEndScreen", R"("slide": 9, "click": 1)", L"Next", 9, 0, true,
     10},
    {"PreviousTakesBackABuild", R"("slide": 2, "click": 2)", L"Previous", 2, 1, false, 2},
    {"PreviousShowsThePreviousSlideFullyBuilt", R"("slide": 3)", L"Previous", 2, 2, false, 2},
    {"PreviousFromTheEndScreenShowsTheLastSlideBuilt", R"("ended": true)", L"Previous", 9, 1, false,
     9},
    {"PreviousOnTheFirstSlideTakesBackItsBuild", R"("slide": 1, "click": 1)", L"Previous", 1, 0,
     false, 1},
    {"GotoSlideStartsItUnbuilt", R"("slide": 3)", L"GotoSlide", 2, 0, false, 2, Integers(2)},
    {"GotoSlideWithoutResetStartsItUnbuiltToo", R"("slide": 2, "click": 1)", L"GotoSlide", 2, 0,
     false, 2, Integers(2, 0)},
    {"FirstStartsUnbuilt", R"("slide": 5)", L"First", 1, 0, false, 1},
    {"LastStartsUnbuilt", R"("slide": 2, "click": 1)", L"Last", 9, 0, false, 9},
    {"CustomShowStartsOnItsFirstSlide", R"("namedShow": "Short")", L"Next", 2, 1, false, 1},
    {"CustomShowNextKeepsToItsSlides", R"("namedShow": "Short", "slide": 5)", L"Next", 9, 0, false,
     3},
    {"CustomShowNextPastItsLastReachesTheEndScreen",
     R"("namedShow": "Short", "slide": 9, "click": 1)", L"Next", 9, 0, true, 4},
    {"CustomShowNextOnTheEndScreenEndsIt", R"("namedShow": "Short", "ended": true)", L"Next", 0, 0,
     false, 0},
    {"CustomShowPreviousKeepsToItsSlides", R"("namedShow": "Short", "slide": 9)", L"Previous", 5, 0,
     false, 2},
    {"CustomShowPreviousOnItsFirstStays", R"("namedShow": "Short", "slide": 2)", L"Previous", 2, 0,
     false, 1},
    {"CustomShowFromTheEndScreenBackToItsLast", R"("namedShow": "Short", "ended": true)",
     L"Previous", 9, 1, false, 3},
    {"CustomShowFirst", R"("namedShow": "Short", "slide": 9)", L"First", 2, 0, false, 1},
    {"CustomShowLast", R"("namedShow": "Short", "slide": 2)", L"Last", 9, 0, false, 3},
    {"CustomShowGoesInItsOwnOrder", R"("namedShow": "Backwards", "slide": 3)", L"Next", 2, 0, false,
     2},
    {"CustomShowComingBackCountsItsLastStop", R"("namedShow": "Tour", "slide": 5)", L"Last", 2, 0,
     false, 4},
    {"CustomShowOutsideGoesOnInTheDeck",
     R"("namedShow": "Short", "slide": 3, "reachedByLink": true)", L"Next", 4, 0, false, 0},
    {"CustomShowOutsideGoesBackIntoIt",
     R"("namedShow": "Short", "slide": 6, "reachedByLink": true)", L"Previous", 5, 0, false, 2},
    {"CustomShowGotoSlideOfIt", R"("namedShow": "Short", "slide": 2)", L"GotoSlide", 9, 0, false, 3,
     Integers(9)},
};
INSTANTIATE_TEST_SUITE_P(Walks, ShowWalk, ::testing::ValuesIn(kWalks));

TEST_F(SimulationTest, GotoSlide_FailsOutsideTheDeckAndOutsideTheCustomShow) {
    Start(std::string(kBuiltDeck) + R"("namedShow": "Short"}]})");
    ComPtr<IDispatch> view = FirstView();
    for (LONG index : {0, 10, 3}) {
        EXPECT_EQ(CallWithoutAnswer(view.Get(), L"GotoSlide", {Argument::Integer(index)}),
                  DISP_E_EXCEPTION)
            << index;
    }
    EXPECT_EQ(pptsim::ReadSimulationState().shows[0].slide, 2);
}

std::vector<LONG> SlideIds(const CallOutcome& outcome, LONG& lowerBound) {
    std::vector<LONG> ids;
    const VARIANT& value = outcome.Value();
    EXPECT_EQ(value.vt, VT_ARRAY | VT_I4);
    if (value.vt != (VT_ARRAY | VT_I4)) {
        return ids;
    }
    LONG upper = 0;
    void* data = nullptr;
    SafeArrayGetLBound(value.parray, 1, &lowerBound);
    SafeArrayGetUBound(value.parray, 1, &upper);
    SafeArrayAccessData(value.parray, &data);
    ids.assign(static_cast<LONG*>(data), static_cast<LONG*>(data) + (upper - lowerBound + 1));
    SafeArrayUnaccessData(value.parray);
    return ids;
}

TEST_F(SimulationTest, CustomShow_IsNamedByTheViewAndListsItsSlidesById) {
    Start(std::string(kBuiltDeck) + R"("namedShow": "Short", "slide": 5}]})");
    ComPtr<IDispatch> view = FirstView();
    EXPECT_EQ(GetInteger(view.Get(), L"IsNamedShow"), -1);
    EXPECT_EQ(GetText(view.Get(), L"SlideShowName"), L"Short");

    ComPtr<IDispatch> deck = Presentation(1);
    // Microsoft's reference keeps custom shows on the show settings, not on the presentation.
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(Resolve(deck.Get(), L"NamedSlideShows", id), DISP_E_UNKNOWNNAME);
    ComPtr<IDispatch> named =
        GetObject(GetObject(deck.Get(), L"SlideShowSettings").Get(), L"NamedSlideShows");
    EXPECT_EQ(GetInteger(named.Get(), L"Count"), 3);
    EXPECT_EQ(GetText(CallObject(named.Get(), L"Item", {Argument::Integer(1)}).Get(), L"Name"),
              L"Backwards");
    ComPtr<IDispatch> shortShow = CallObject(named.Get(), L"Item", {Argument::Text(L"short")});
    ASSERT_TRUE(shortShow);
    EXPECT_EQ(GetText(shortShow.Get(), L"Name"), L"Short");
    LONG lowerBound = 0;
    const std::vector<LONG> ids = SlideIds(ReadProperty(shortShow.Get(), L"SlideIDs"), lowerBound);
    EXPECT_EQ(lowerBound, 1);
    EXPECT_EQ(ids, (std::vector<LONG>{257, 260, 264}));
    EXPECT_EQ(CallWithoutAnswer(named.Get(), L"Item", {Argument::Text(L"Long")}), DISP_E_EXCEPTION);

    ComPtr<IDispatch> slides = GetObject(deck.Get(), L"Slides");
    EXPECT_EQ(
        GetInteger(CallObject(slides.Get(), L"Item", {Argument::Integer(5)}).Get(), L"SlideID"),
        260);
    EXPECT_EQ(GetInteger(CallObject(slides.Get(), L"FindBySlideID", {Argument::Integer(264)}).Get(),
                         L"SlideIndex"),
              9);
    EXPECT_EQ(CallWithoutAnswer(slides.Get(), L"FindBySlideID", {Argument::Integer(265)}),
              DISP_E_EXCEPTION);
}

// Automation starts a custom show through the show settings; a deck saved so runs it when opened.
TEST_F(SimulationTest, SettingsNamingACustomShow_RunItAndAreSavedWithTheDeck) {
    Start(std::string(kBuiltDeck) + R"("slide": 5}]})");
    ComPtr<IDispatch> settings = GetObject(Presentation(1).Get(), L"SlideShowSettings");
    EXPECT_EQ(WriteProperty(settings.Get(), L"RangeType", Argument::Integer(3)), S_OK);
    EXPECT_EQ(WriteProperty(settings.Get(), L"SlideShowName", Argument::Text(L"Short")), S_OK);
    EXPECT_EQ(GetInteger(settings.Get(), L"RangeType"), 3);
    ComPtr<IDispatch> window = CallObject(settings.Get(), L"Run", {});
    ASSERT_TRUE(window);
    ComPtr<IDispatch> view = GetObject(window.Get(), L"View");
    EXPECT_EQ(GetText(view.Get(), L"SlideShowName"), L"Short");
    EXPECT_EQ(GetInteger(GetObject(view.Get(), L"Slide").Get(), L"SlideIndex"), 2);
    EXPECT_EQ(WriteProperty(settings.Get(), L"RangeType", Argument::Integer(7)), E_INVALIDARG);

    const std::wstring saved =
        (std::filesystem::temp_directory_path() / "pptsim-named.json").wstring();
    ASSERT_EQ(CallWithoutAnswer(Presentation(1).Get(), L"SaveAs", {Argument::Text(saved)}), S_OK);
    ComPtr<IDispatch> reopened =
        CallObject(Presentations().Get(), L"Open", {Argument::Text(saved)});
    ComPtr<IDispatch> reopenedSettings = GetObject(reopened.Get(), L"SlideShowSettings");
    EXPECT_EQ(GetInteger(reopenedSettings.Get(), L"RangeType"), 3);
    EXPECT_EQ(GetText(reopenedSettings.Get(), L"SlideShowName"), L"Short");
    std::filesystem::remove(saved);
}

TEST_F(SimulationTest, DecksOwnShow_IsNoNamedShow) {
    Start(std::string(kBuiltDeck) + R"("slide": 5}]})");
    EXPECT_EQ(GetInteger(FirstView().Get(), L"IsNamedShow"), 0);
    EXPECT_EQ(GetText(FirstView().Get(), L"SlideShowName"), L"");
}

// ---- Decks in Protected View ----------------------------------------------------------------

constexpr const char* kProtectedScenario = R"({
  "files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
  "open": ["C:\\Talks\\Intro.pptx"], "protectedView": ["C:\\Talks\\Q3 review.pptx"],
  "active": "C:\\Talks\\Q3 review.pptx"})";

TEST_F(SimulationTest, ProtectedView_KeepsTheDeckOutOfPresentationsAndActivePresentationFails) {
    Start(kProtectedScenario);
    EXPECT_EQ(GetInteger(Presentations().Get(), L"Count"), 1);
    EXPECT_EQ(GetText(Presentation(1).Get(), L"FullName"), kIntro);
    EXPECT_EQ(ReadProperty(application.Get(), L"ActivePresentation").Status(), DISP_E_EXCEPTION);

    ComPtr<IDispatch> windows = GetObject(application.Get(), L"ProtectedViewWindows");
    EXPECT_EQ(GetInteger(windows.Get(), L"Count"), 1);
    EXPECT_EQ(CallWithoutAnswer(windows.Get(), L"Item", {Argument::Integer(2)}), E_INVALIDARG);
    ComPtr<IDispatch> window = CallObject(windows.Get(), L"Item", {Argument::Integer(1)});
    EXPECT_EQ(GetText(GetObject(window.Get(), L"Presentation").Get(), L"FullName"), kQ3Review);
    EXPECT_EQ(WindowTitle(GetTopWindow(GetDesktopWindow())),
              L"Q3 review.pptx [Protected View] - PowerPoint");
    EXPECT_TRUE(pptsim::ReadSimulationState().open[1].protectedView);

    // Activating a document window makes ActivePresentation answer, the Protected View
    // window's Activate makes it fail again.
    CallWithoutAnswer(CallObject(GetObject(Presentation(1).Get(), L"Windows").Get(), L"Item",
                                 {Argument::Integer(1)})
                          .Get(),
                      L"Activate");
    EXPECT_EQ(GetText(GetObject(application.Get(), L"ActivePresentation").Get(), L"FullName"),
              kIntro);
    EXPECT_EQ(CallWithoutAnswer(window.Get(), L"Activate"), S_OK);
    EXPECT_EQ(ReadProperty(application.Get(), L"ActivePresentation").Status(), DISP_E_EXCEPTION);
}

TEST_F(SimulationTest, ProtectedViewEdit_OpensTheDeckForEditingInAFrameOfItsOwn) {
    Start(kProtectedScenario);
    ComPtr<IDispatch> window =
        CallObject(GetObject(application.Get(), L"ProtectedViewWindows").Get(), L"Item",
                   {Argument::Integer(1)});
    HWND protectedFrame = pptsim::ReadSimulationState().open[1].frame;
    ComPtr<IDispatch> edited = CallObject(window.Get(), L"Edit", {});
    ASSERT_TRUE(edited);
    EXPECT_EQ(GetText(edited.Get(), L"FullName"), kQ3Review);
    EXPECT_EQ(GetInteger(Presentations().Get(), L"Count"), 2);
    EXPECT_EQ(GetText(GetObject(application.Get(), L"ActivePresentation").Get(), L"FullName"),
              kQ3Review);
    EXPECT_EQ(GetInteger(GetObject(application.Get(), L"ProtectedViewWindows").Get(), L"Count"), 0);
    EXPECT_EQ(IsWindow(protectedFrame), FALSE);
    EXPECT_EQ(WindowTitle(GetTopWindow(GetDesktopWindow())), L"Q3 review.pptx - PowerPoint");
    EXPECT_EQ(ReadProperty(window.Get(), L"Presentation").Status(), RPC_E_DISCONNECTED);
}

// ---- A minimised deck --------------------------------------------------------------------------

// Its frame stays iconic through Activate and a raise; writing WindowState, or a restoring
// ShowWindow on the frame, brings it back, traced as a restore.
TEST_F(SimulationTest, MinimisedDeck_ComesBackOnlyByWindowStateOrARestoringShowWindow) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
              "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
              "minimized": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"]})");
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    for (std::int32_t index : {1, 2}) {
        ComPtr<IDispatch> window =
            CallObject(GetObject(Presentation(index).Get(), L"Windows").Get(), L"Item",
                       {Argument::Integer(1)});
        HWND frame = state.open[static_cast<std::size_t>(index - 1)].frame;
        EXPECT_EQ(GetInteger(window.Get(), L"WindowState"), 2);
        EXPECT_EQ(CallWithoutAnswer(window.Get(), L"Activate"), S_OK);
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        EXPECT_TRUE(IsIconic(frame)) << index;
        EXPECT_EQ(GetInteger(window.Get(), L"WindowState"), 2);
        if (index == 1) {
            EXPECT_EQ(WriteProperty(window.Get(), L"WindowState", Argument::Integer(3)), S_OK);
        } else {
            ::ShowWindow(frame, SW_RESTORE);
        }
        EXPECT_FALSE(IsIconic(frame)) << index;
        EXPECT_EQ(GetInteger(window.Get(), L"WindowState"), index == 1 ? 3 : 1);
    }
    const std::vector<std::string> trace = Trace();
    EXPECT_EQ(std::count_if(trace.begin(), trace.end(),
                            [](const std::string& line) { return line.rfind("restore ", 0) == 0; }),
              2);
    EXPECT_TRUE(TraceHas("restore Q3 review.pptx - PowerPoint"));
    ComPtr<IDispatch> window = CallObject(GetObject(Presentation(1).Get(), L"Windows").Get(),
                                          L"Item", {Argument::Integer(1)});
    EXPECT_EQ(WriteProperty(window.Get(), L"WindowState", Argument::Integer(4)), DISP_E_EXCEPTION);
}

// ---- Outside the running object table, and started again by the presenter -------------------

HRESULT CreateApplication(ComPtr<IDispatch>& created) {
    return CoCreateInstance(pptsim::CLSID_SimulatedPowerPoint, nullptr, CLSCTX_LOCAL_SERVER,
                            IID_IDispatch, reinterpret_cast<void**>(created.Receive()));
}

long TraceCount(const std::string& line) {
    const std::vector<std::string> trace = pptsim::SimulationTrace();
    return static_cast<long>(std::count(trace.begin(), trace.end(), line));
}

TEST_F(SimulationTest, Restart_StartsPowerPointAgainByItselfOnceWithItsDecksAndFrames) {
    const ComApartment apartment;
    for (const bool rot : {true, false}) {
        SCOPED_TRACE(rot ? "in the running object table" : "\"rot\": false");
        Start(
            std::string(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
            "open": ["C:\\Talks\\Q3 review.pptx"], "rot": )") +
            (rot ? "true" : "false") + R"(,
            "restart": {"afterMs": 0, "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
                        "active": "C:\\Talks\\Q3 review.pptx",
                        "shows": [{"presentation": "C:\\Talks\\Intro.pptx", "slide": 2}]}})");
        EXPECT_EQ(AttachToRunning(), rot ? S_OK : MK_E_UNAVAILABLE);
        SendMessageW(pptsim::ReadSimulationState().open[0].frame, WM_CLOSE, 0, 0);
        // Started, with its frames made.
        ASSERT_TRUE(Eventually([] {
            const pptsim::SimulationState now = pptsim::ReadSimulationState();
            return now.running && now.open.size() == 2 && now.open[0].frame != nullptr &&
                   now.open[1].frame != nullptr;
        }));

        EXPECT_EQ(pptsim::SimulationTrace(),
                  (std::vector<std::string>{"close Q3 review.pptx - PowerPoint", "exit PowerPoint",
                                            "restart PowerPoint"}));
        const pptsim::SimulationState state = pptsim::ReadSimulationState();
        ASSERT_EQ(state.open.size(), 2u);
        EXPECT_EQ(state.active, kQ3Review);
        EXPECT_EQ(WindowTitle(GetTopWindow(GetDesktopWindow())), L"Q3 review.pptx - PowerPoint");
        EXPECT_EQ(WindowTitle(state.open[1].frame), L"Intro.pptx - PowerPoint");
        ASSERT_EQ(state.shows.size(), 1u);
        EXPECT_EQ(state.shows[0].slide, 2);
        EXPECT_EQ(ReadProperty(application.Get(), L"Presentations").Status(),
                  HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));

        // Reached as the running PowerPoint: through the table, or by activation alone.
        EXPECT_EQ(AttachToRunning(), rot ? S_OK : MK_E_UNAVAILABLE);
        ComPtr<IDispatch> reached;
        ASSERT_EQ(CreateApplication(reached), S_OK);
        EXPECT_EQ(GetInteger(GetObject(reached.Get(), L"Presentations").Get(), L"Count"), 2);
        EXPECT_EQ(TraceCount("start PowerPoint"), 0);

        // It starts again once: after it exits again, an activation starts an empty one.
        for (const pptsim::PresentationState& open : state.open) {
            SendMessageW(open.frame, WM_CLOSE, 0, 0);
        }
        ASSERT_EQ(CreateApplication(reached), S_OK);
        EXPECT_EQ(TraceCount("start PowerPoint"), 1);
        EXPECT_EQ(TraceCount("restart PowerPoint"), 1);
        EXPECT_TRUE(pptsim::ReadSimulationState().open.empty());
    }
}

}  // namespace

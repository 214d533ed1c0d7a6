#include <gtest/gtest.h>

#include "tests/NamedCase.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

TEST_F(SimulationTest, ActivePresentation_IsTheScenariosLastOpenedByDefault) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
              "open": ["C:\\Talks\\Intro.pptx", "C:\\Talks\\Q3 review.pptx"]})");
    EXPECT_EQ(GetText(GetObject(application.Get(), L"ActivePresentation").Get(), L"FullName"),
              kQ3Review);
    EXPECT_EQ(GetInteger(Presentations().Get(), L"Count"), 2);
    EXPECT_EQ(GetText(Presentation(1).Get(), L"FullName"), kIntro);
}

TEST_F(SimulationTest, ActivePresentation_FailsWhenNothingIsOpen) {
    Start("{}");
    const CallOutcome outcome = ReadProperty(application.Get(), L"ActivePresentation");
    EXPECT_EQ(outcome.Status(), DISP_E_EXCEPTION);
    EXPECT_EQ(outcome.Value().vt, VT_EMPTY);
}

struct ItemCase : NamedCase {
    Arguments arguments;
    WORD flags;
    HRESULT expected;
};

class PresentationsItem : public SimulationTest, public ::testing::WithParamInterface<ItemCase> {};

TEST_P(PresentationsItem, ChecksIndexArgumentsAndCallKind) {
    Start(kTalksScenario);
    const CallOutcome outcome =
        InvokeMember(GetParam().flags, Presentations().Get(), L"Item", GetParam().arguments);
    EXPECT_EQ(outcome.Status(), GetParam().expected);
    EXPECT_EQ(outcome.Value().vt, SUCCEEDED(GetParam().expected) ? VT_DISPATCH : VT_EMPTY);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, PresentationsItem,
    ::testing::Values(
        ItemCase{"First", {Argument::Integer(1)}, DISPATCH_METHOD, S_OK},
        ItemCase{"Last", {Argument::Integer(3)}, DISPATCH_METHOD, S_OK},
        ItemCase{"ShortInteger", {Argument::ShortInteger(2)}, DISPATCH_METHOD, S_OK},
        ItemCase{"Zero", {Argument::Integer(0)}, DISPATCH_METHOD, E_INVALIDARG},
        ItemCase{"PastTheEnd", {Argument::Integer(4)}, DISPATCH_METHOD, E_INVALIDARG},
        ItemCase{"Negative", {Argument::Integer(-1)}, DISPATCH_METHOD, E_INVALIDARG},
        ItemCase{"NotAnInteger", {Argument::Real(1.0)}, DISPATCH_METHOD, DISP_E_TYPEMISMATCH},
        ItemCase{"NoIndex", {}, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT},
        ItemCase{"TwoIndexes",
                 {Argument::Integer(1), Argument::Integer(1)},
                 DISPATCH_METHOD,
                 DISP_E_BADPARAMCOUNT},
        ItemCase{
            "ReadNotCall", {Argument::Integer(1)}, DISPATCH_PROPERTYGET, DISP_E_MEMBERNOTFOUND}));

TEST_F(SimulationTest, Members_AreFoundByTheirExactNameOnly) {
    Start(kTalksScenario);
    ComPtr<IDispatch> presentations = Presentations();
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(Resolve(presentations.Get(), L"Count", id), S_OK);
    EXPECT_EQ(Resolve(presentations.Get(), L"count", id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(Resolve(presentations.Get(), L"Coun", id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(Resolve(presentations.Get(), L"FullName", id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);

    std::wstring name = L"Count";
    LPOLESTR names[] = {name.data()};
    EXPECT_EQ(presentations->GetIDsOfNames(IID_IDispatch, names, 1, 0, &id),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(WriteProperty(presentations.Get(), L"Count", Argument::Integer(3)),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(
        InvokeMember(DISPATCH_PROPERTYGET, presentations.Get(), L"Count", {Argument::Integer(1)})
            .Status(),
        DISP_E_BADPARAMCOUNT);
}

TEST_F(SimulationTest, Open_AppendsActivatesAndRaisesANewFrame) {
    Start(kTalksScenario);
    ComPtr<IDispatch> opened =
        CallObject(Presentations().Get(), L"Open", {Argument::Text(kClosed)});
    ASSERT_TRUE(opened);
    EXPECT_EQ(GetText(opened.Get(), L"FullName"), kClosed);

    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    ASSERT_EQ(state.open.size(), 4u);
    EXPECT_EQ(state.open[3].fullName, kClosed);
    EXPECT_EQ(state.active, kClosed);
    HWND top = GetTopWindow(GetDesktopWindow());
    EXPECT_EQ(top, state.open[3].frame);
    wchar_t className[256] = {};
    GetClassNameW(top, className, 256);
    EXPECT_EQ(std::wstring(className), L"PPTFrameClass");
    EXPECT_EQ(WindowTitle(top), L"Closed.pptx - PowerPoint");
}

TEST_F(SimulationTest, Open_OfAnOpenFileOpensAReadOnlyCopyWhateverTheSpelling) {
    Start(kTalksScenario);
    ComPtr<IDispatch> opened =
        CallObject(Presentations().Get(), L"Open", {Argument::Text(L"c:/talks/Q3 REVIEW.pptx")});
    ASSERT_TRUE(opened);
    EXPECT_EQ(GetText(opened.Get(), L"FullName"), kQ3Review);  // the listed file's own spelling
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    ASSERT_EQ(state.open.size(), 4u);
    EXPECT_EQ(state.active, kQ3Review);
    EXPECT_EQ(WindowTitle(GetTopWindow(GetDesktopWindow())),
              L"Q3 review.pptx [Read-Only] - PowerPoint");
}

TEST_F(SimulationTest, Open_FailsForAFileNotListedAndForBadArguments) {
    Start(kTalksScenario);
    EXPECT_EQ(CallWithoutAnswer(Presentations().Get(), L"Open",
                                {Argument::Text(L"C:\\Talks\\Missing.pptx")}),
              DISP_E_EXCEPTION);
    EXPECT_EQ(CallWithoutAnswer(Presentations().Get(), L"Open", {Argument::Integer(1)}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(CallWithoutAnswer(Presentations().Get(), L"Open", {}), DISP_E_BADPARAMCOUNT);
    // ReadOnly, Untitled and WithWindow may follow the file name.
    EXPECT_EQ(CallWithoutAnswer(Presentations().Get(), L"Open",
                                {Argument::Text(kClosed), Argument::Integer(0),
                                 Argument::Integer(0), Argument::Integer(-1)}),
              S_OK);
    EXPECT_EQ(pptsim::ReadSimulationState().open.size(), 4u);
}

TEST_F(SimulationTest, DocumentWindowActivate_MakesItsPresentationActiveAndLeavesTheFrames) {
    Start(kTalksScenario);
    ComPtr<IDispatch> windows = GetObject(Presentation(1).Get(), L"Windows");
    EXPECT_EQ(CallWithoutAnswer(windows.Get(), L"Item", {Argument::Integer(2)}), E_INVALIDARG);
    ComPtr<IDispatch> window = CallObject(windows.Get(), L"Item", {Argument::Integer(1)});
    ASSERT_TRUE(window);
    EXPECT_EQ(CallWithoutAnswer(window.Get(), L"Activate"), S_OK);

    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    EXPECT_EQ(state.active, kQ3Review);
    EXPECT_EQ(GetTopWindow(GetDesktopWindow()), state.open[1].frame);  // Intro's stays on top
    EXPECT_EQ(WindowTitle(state.open[0].frame), L"Q3 review.pptx - PowerPoint");
}

TEST_F(SimulationTest, Run_StartsAShowOnSlideOneAndReturnsItsWindow) {
    Start(kTalksScenario);
    EXPECT_EQ(ReadProperty(Presentation(2).Get(), L"SlideShowWindow").Status(), DISP_E_EXCEPTION);

    ComPtr<IDispatch> settings = GetObject(Presentation(2).Get(), L"SlideShowSettings");
    ComPtr<IDispatch> show = CallObject(settings.Get(), L"Run", {});
    ASSERT_TRUE(show);
    EXPECT_EQ(GetText(GetObject(show.Get(), L"Presentation").Get(), L"FullName"), kIntro);
    EXPECT_EQ(
        GetInteger(GetObject(GetObject(show.Get(), L"View").Get(), L"Slide").Get(), L"SlideNumber"),
        1);
    EXPECT_EQ(GetInteger(GetObject(application.Get(), L"SlideShowWindows").Get(), L"Count"), 1);
    EXPECT_TRUE(GetObject(Presentation(2).Get(), L"SlideShowWindow"));
}

TEST_F(SimulationTest, Run_StartsAShowWithoutTheKeyboardWhichActivateGivesIt) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
              "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
              "shows": [{"presentation": "C:\\Talks\\Q3 review.pptx"}]})");
    ComPtr<IDispatch> started = ShowWindow(1);
    EXPECT_EQ(GetInteger(started.Get(), L"Active"), -1) << "started by the presenter";
    ComPtr<IDispatch> run =
        CallObject(GetObject(Presentation(2).Get(), L"SlideShowSettings").Get(), L"Run", {});
    EXPECT_EQ(GetInteger(run.Get(), L"Active"), 0);
    EXPECT_EQ(CallWithoutAnswer(run.Get(), L"Activate"), S_OK);
    EXPECT_EQ(GetInteger(run.Get(), L"Active"), -1);
    EXPECT_EQ(GetInteger(started.Get(), L"Active"), 0) << "one window has the keyboard";
}

TEST_F(SimulationTest, Run_FailsForAPresentationWithoutSlides) {
    Start(R"({"files": {"C:\\Talks\\Empty.pptx": 0}, "open": ["C:\\Talks\\Empty.pptx"]})");
    ComPtr<IDispatch> settings = GetObject(Presentation(1).Get(), L"SlideShowSettings");
    EXPECT_EQ(CallWithoutAnswer(settings.Get(), L"Run"), DISP_E_EXCEPTION);
    EXPECT_EQ(GetInteger(GetObject(Presentation(1).Get(), L"Slides").Get(), L"Count"), 0);
    EXPECT_TRUE(pptsim::ReadSimulationState().shows.empty());
}

struct MoveCase : NamedCase {
    const char* deck;  // the file's value in "files"
    int startSlide;    // 0: on the end screen
    const wchar_t* method;
    int slideAfter;  // 0: the show has ended; -1: on the end screen
};

class ShowNavigation : public SimulationTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(ShowNavigation, MovesLikeANormalSpeakerShow) {
    const MoveCase& c = GetParam();
    const std::string at =
        c.startSlide == 0 ? R"("ended": true)" : R"("slide": )" + std::to_string(c.startSlide);
    Start(std::string(R"({"files": {"C:\\Talks\\Q3 review.pptx": )") + c.deck +
          R"(}, "open": ["C:\\Talks\\Q3 review.pptx"],
              "shows": [{"presentation": "C:\\Talks\\Q3 review.pptx", )" +
          at + "}]}");
    ComPtr<IDispatch> view = FirstView();
    ASSERT_TRUE(view);
    EXPECT_EQ(CallWithoutAnswer(view.Get(), c.method), S_OK);

    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    if (c.slideAfter == 0) {
        EXPECT_TRUE(state.shows.empty());
        EXPECT_EQ(GetInteger(GetObject(application.Get(), L"SlideShowWindows").Get(), L"Count"), 0);
        EXPECT_EQ(ReadProperty(view.Get(), L"Slide").Status(), RPC_E_DISCONNECTED);
        EXPECT_EQ(CallWithoutAnswer(view.Get(), L"Next"), RPC_E_DISCONNECTED);
    } else if (c.slideAfter < 0) {
        ASSERT_EQ(state.shows.size(), 1u);
        EXPECT_TRUE(state.shows[0].ended);
        EXPECT_EQ(GetInteger(view.Get(), L"State"), 5);  // ppSlideShowDone
        EXPECT_EQ(ReadProperty(view.Get(), L"Slide").Status(), DISP_E_EXCEPTION);
    } else {
        ASSERT_EQ(state.shows.size(), 1u);
        EXPECT_FALSE(state.shows[0].ended);
        EXPECT_EQ(state.shows[0].slide, c.slideAfter);
        EXPECT_EQ(GetInteger(view.Get(), L"State"), 1);  // ppSlideShowRunning
        EXPECT_EQ(GetInteger(GetObject(view.Get(), L"Slide").Get(), L"SlideIndex"), c.slideAfter);
    }
}

constexpr const char* kHiddenLast = R"({"slides": 12, "hidden": [12]})";
constexpr const char* kHiddenFourth = R"({"slides": 12, "hidden": [4]})";
constexpr const char* kRanged = R"({"slides": 12, "showRange": [3, 9], "hidden": [3]})";

INSTANTIATE_TEST_SUITE_P(
    Moves, ShowNavigation,
    ::testing::Values(
        MoveCase{"NextInTheMiddle", "12", 3, L"Next", 4},
        MoveCase{"NextOnTheLastSlideReachesTheEndScreen", "12", 12, L"Next", -1},
        MoveCase{"NextOnTheEndScreenEndsTheShow", "12", 0, L"Next", 0},
        MoveCase{"PreviousOnTheEndScreenGoesBackToTheLastSlide", "12", 0, L"Previous", 12},
        MoveCase{"FirstFromTheEndScreen", "12", 0, L"First", 1},
        MoveCase{"PreviousInTheMiddle", "12", 5, L"Previous", 4},
        MoveCase{"PreviousOnTheFirstSlideStays", "12", 1, L"Previous", 1},
        MoveCase{"First", "12", 7, L"First", 1}, MoveCase{"Last", "12", 7, L"Last", 12},
        MoveCase{"Exit", "12", 7, L"Exit", 0},
        MoveCase{"NextSkipsAHiddenSlide", kHiddenFourth, 3, L"Next", 5},
        MoveCase{"PreviousSkipsAHiddenSlide", kHiddenFourth, 5, L"Previous", 3},
        MoveCase{"NextOnTheLastShownSlideReachesTheEndScreen", kHiddenLast, 11, L"Next", -1},
        MoveCase{"LastIsTheLastShownSlide", kHiddenLast, 2, L"Last", 11},
        MoveCase{"PreviousFromTheEndScreenBeforeAHiddenLastSlide", kHiddenLast, 0, L"Previous", 11},
        MoveCase{"FirstIsTheRangesFirstShownSlide", kRanged, 7, L"First", 4},
        MoveCase{"LastIsTheRangesEnd", kRanged, 5, L"Last", 9},
        MoveCase{"NextAtTheRangesEndReachesTheEndScreen", kRanged, 9, L"Next", -1},
        MoveCase{"PreviousAtTheRangesFirstShownSlideStays", kRanged, 4, L"Previous", 4}));

TEST_F(SimulationTest, SlideMembers_AnswerFromTheDecksNumberingHiddenSlidesAndRange) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": {"slides": 12, "firstSlideNumber": 0,
                                                      "hidden": [12], "showRange": [3, 9]},
                        "D:\\Slides\\intro.pptx": 5},
              "open": ["C:\\Talks\\Q3 review.pptx", "D:\\Slides\\intro.pptx"]})");
    ComPtr<IDispatch> slides = GetObject(Presentation(1).Get(), L"Slides");
    ComPtr<IDispatch> second = CallObject(slides.Get(), L"Item", {Argument::Integer(2)});
    EXPECT_EQ(GetInteger(second.Get(), L"SlideNumber"), 1);
    EXPECT_EQ(GetInteger(second.Get(), L"SlideIndex"), 2);
    EXPECT_EQ(CallWithoutAnswer(slides.Get(), L"Item", {Argument::Integer(13)}), E_INVALIDARG);
    ComPtr<IDispatch> last = CallObject(slides.Get(), L"Item", {Argument::Integer(12)});
    EXPECT_EQ(GetInteger(GetObject(last.Get(), L"SlideShowTransition").Get(), L"Hidden"), -1);
    EXPECT_EQ(GetInteger(GetObject(second.Get(), L"SlideShowTransition").Get(), L"Hidden"), 0);
    EXPECT_EQ(GetInteger(GetObject(Presentation(1).Get(), L"PageSetup").Get(), L"FirstSlideNumber"),
              0);
    ComPtr<IDispatch> settings = GetObject(Presentation(1).Get(), L"SlideShowSettings");
    EXPECT_EQ(GetInteger(settings.Get(), L"RangeType"), 2);  // ppShowSlideRange
    EXPECT_EQ(GetInteger(settings.Get(), L"StartingSlide"), 3);
    EXPECT_EQ(GetInteger(settings.Get(), L"EndingSlide"), 9);
    // Run keeps to the saved range.
    ComPtr<IDispatch> window = CallObject(settings.Get(), L"Run", {});
    ComPtr<IDispatch> view = GetObject(window.Get(), L"View");
    EXPECT_EQ(GetInteger(GetObject(view.Get(), L"Slide").Get(), L"SlideIndex"), 3);
    EXPECT_EQ(GetInteger(view.Get(), L"CurrentShowPosition"), 1);

    // A plain deck: numbered from 1, every slide shown.
    ComPtr<IDispatch> intro = GetObject(Presentation(2).Get(), L"SlideShowSettings");
    EXPECT_EQ(GetInteger(intro.Get(), L"RangeType"), 1);  // ppShowAll
    EXPECT_EQ(GetInteger(intro.Get(), L"EndingSlide"), 5);
}

// Several shows at once (a hyperlink to another deck's show, a deck in a windowed show): the
// first entry's window is SlideShowWindows(1), each deck's own is its SlideShowWindow.
TEST_F(SimulationTest, SlideShowWindows_KeepTheOrderTheShowsStarted) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
              "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
              "shows": [{"presentation": "C:\\Talks\\Intro.pptx", "slide": 2},
                        {"presentation": "C:\\Talks\\Q3 review.pptx", "slide": 9}]})");
    EXPECT_EQ(GetText(GetObject(ShowWindow(1).Get(), L"Presentation").Get(), L"FullName"), kIntro);
    EXPECT_EQ(GetText(GetObject(ShowWindow(2).Get(), L"Presentation").Get(), L"FullName"),
              kQ3Review);
    EXPECT_FALSE(ShowWindow(3));
    for (std::int32_t index : {1, 2}) {
        ComPtr<IDispatch> own = GetObject(Presentation(index).Get(), L"SlideShowWindow");
        EXPECT_EQ(GetInteger(GetObject(GetObject(own.Get(), L"View").Get(), L"Slide").Get(),
                             L"SlideIndex"),
                  index == 1 ? 9 : 2);
    }
    // Exiting the first show makes the other one the first.
    EXPECT_EQ(CallWithoutAnswer(FirstView().Get(), L"Exit"), S_OK);
    EXPECT_EQ(GetText(GetObject(ShowWindow(1).Get(), L"Presentation").Get(), L"FullName"),
              kQ3Review);
}

TEST_F(SimulationTest, FailMembers_FailWithEFailOnEveryObject) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12}, "open": ["C:\\Talks\\Q3 review.pptx"],
              "failMembers": ["Open", "Count"]})");
    EXPECT_EQ(CallWithoutAnswer(Presentations().Get(), L"Open", {Argument::Text(kQ3Review)}),
              E_FAIL);
    EXPECT_EQ(GetInteger(Presentations().Get(), L"Count"), E_FAIL);
    EXPECT_EQ(GetInteger(GetObject(Presentation(1).Get(), L"Slides").Get(), L"Count"), E_FAIL);
    EXPECT_EQ(GetText(Presentation(1).Get(), L"FullName"), kQ3Review);
}

TEST_F(SimulationTest, CloseOfAFrame_ClosesItsPresentationAndShow) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
              "open": ["C:\\Talks\\Intro.pptx", "C:\\Talks\\Q3 review.pptx"],
              "shows": [{"presentation": "C:\\Talks\\Q3 review.pptx", "slide": 4}]})");
    ComPtr<IDispatch> q3 = Presentation(2);
    HWND frame = pptsim::ReadSimulationState().open[1].frame;
    EXPECT_EQ(SendMessageW(frame, WM_CLOSE, 0, 0), 0);

    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    EXPECT_TRUE(state.running);
    ASSERT_EQ(state.open.size(), 1u);
    EXPECT_EQ(state.active, kIntro);
    EXPECT_TRUE(state.shows.empty());
    EXPECT_EQ(IsWindow(frame), FALSE);
    EXPECT_EQ(ReadProperty(q3.Get(), L"FullName").Status(), RPC_E_DISCONNECTED);
}

// What a presentation that closes or a show that ends leaves behind, while PowerPoint runs on.
struct Leftover : NamedCase {
    // Reached from the application, with Q3 review (item 1) showing slide 4: the root, its part
    // (none: the root itself) and that part's Item(item) (0: the part itself). Left over once
    // `end` has run.
    ComPtr<IDispatch> (*root)(IDispatch* application);
    const wchar_t* part;
    LONG item;
    const wchar_t* member;  // a property or method without arguments
    void (*end)(IDispatch* application);
};

ComPtr<IDispatch> ItemOf(IDispatch* collection, LONG index) {
    return CallObject(collection, L"Item", {Argument::Integer(index)});
}
ComPtr<IDispatch> FirstPresentationOf(IDispatch* application) {
    return ItemOf(GetObject(application, L"Presentations").Get(), 1);
}
ComPtr<IDispatch> FirstShowWindowOf(IDispatch* application) {
    return ItemOf(GetObject(application, L"SlideShowWindows").Get(), 1);
}
ComPtr<IDispatch> LeftoverObject(const Leftover& c, IDispatch* application) {
    ComPtr<IDispatch> object = c.root(application);
    if (c.part != nullptr) {
        object = GetObject(object.Get(), c.part);
    }
    return c.item != 0 ? ItemOf(object.Get(), c.item) : object;
}
void CloseFirstPresentation(IDispatch* application) {
    EXPECT_EQ(CallWithoutAnswer(FirstPresentationOf(application).Get(), L"Close"), S_OK);
}
void ExitTheShow(IDispatch* application) {
    EXPECT_EQ(
        CallWithoutAnswer(GetObject(FirstShowWindowOf(application).Get(), L"View").Get(), L"Exit"),
        S_OK);
}

class DisconnectedObject : public SimulationTest, public ::testing::WithParamInterface<Leftover> {};

// PowerPoint disconnects such objects (as a real out-of-process server's proxies report), while
// the application goes on answering.
TEST_P(DisconnectedObject, FailsWithRpcEDisconnectedUntracedWhileTheApplicationAnswers) {
    Start(ShowScenario(4));
    ComPtr<IDispatch> leftover = LeftoverObject(GetParam(), application.Get());
    ASSERT_TRUE(leftover);
    constexpr WORD kReadOrCall = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
    EXPECT_TRUE(InvokeMember(kReadOrCall, leftover.Get(), GetParam().member).Succeeded());
    GetParam().end(application.Get());
    pptsim::ClearSimulationTrace();

    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(Resolve(leftover.Get(), GetParam().member, id), RPC_E_DISCONNECTED);
    EXPECT_EQ(InvokeMember(kReadOrCall, leftover.Get(), GetParam().member).Status(),
              RPC_E_DISCONNECTED);
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(GetText(application.Get(), L"Version"), L"16.0");
}

constexpr auto kClose = &CloseFirstPresentation;
constexpr auto kExit = &ExitTheShow;
const Leftover kLeftovers[] = {
    {"PresentationClosed", &FirstPresentationOf, nullptr, 0, L"FullName", kClose},
    {"ItsSlidesClosed", &FirstPresentationOf, L"Slides", 0, L"Count", kClose},
    {"ItsSlideClosed", &FirstPresentationOf, L"Slides", 2, L"SlideIndex", kClose},
    {"ItsDocumentWindowClosed", &FirstPresentationOf, L"Windows", 1, L"Activate", kClose},
    {"ShowWindowOfAnEndedShow", &FirstShowWindowOf, nullptr, 0, L"Presentation", kExit},
    {"ViewOfAnEndedShow", &FirstShowWindowOf, L"View", 0, L"State", kExit},
    {"ShowWindowOfAClosedPresentation", &FirstShowWindowOf, nullptr, 0, L"View", kClose},
};
INSTANTIATE_TEST_SUITE_P(Leftovers, DisconnectedObject, ::testing::ValuesIn(kLeftovers));

TEST_F(SimulationTest, CloseOfTheLastFrame_QuitsAndEveryObjectFindsItsServerGone) {
    Start(kTalksScenario);
    ComPtr<IDispatch> presentations = Presentations();
    ComPtr<IDispatch> first = Presentation(1);
    for (const pptsim::PresentationState& open : pptsim::ReadSimulationState().open) {
        SendMessageW(open.frame, WM_CLOSE, 0, 0);
    }
    EXPECT_FALSE(pptsim::ReadSimulationState().running);
    EXPECT_EQ(GetTopWindow(GetDesktopWindow()), nullptr);

    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(Resolve(application.Get(), L"Presentations", id),
              HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));
    EXPECT_EQ(GetInteger(presentations.Get(), L"Count"),
              HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(first->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));

    // A new activation starts PowerPoint again, with nothing open.
    ComPtr<IDispatch> restarted;
    ASSERT_EQ(pptsim::ActivateApplication(restarted.Receive()), S_OK);
    EXPECT_TRUE(pptsim::ReadSimulationState().open.empty());
    EXPECT_EQ(GetInteger(presentations.Get(), L"Count"),
              HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));
    EXPECT_EQ(GetInteger(GetObject(restarted.Get(), L"Presentations").Get(), L"Count"), 0);
}

TEST_F(SimulationTest, Objects_AnswerIUnknownAndIDispatchOnly) {
    Start(kTalksScenario);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(
        application->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.Receive())),
        S_OK);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(application->QueryInterface(IID_NULL, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    UINT count = 7;
    EXPECT_EQ(application->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    const long before = pptsim::LiveSimulationObjects();
    {
        ComPtr<IDispatch> presentations = Presentations();
        EXPECT_EQ(pptsim::LiveSimulationObjects(), before + 1);
    }
    EXPECT_EQ(pptsim::LiveSimulationObjects(), before);
}

}  // namespace

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "automation/PowerPointSurface.h"
#include "sim/Scenario.h"
#include "tests/NamedCase.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

TEST(Scenario, EmptyDocument_IsARunningPowerPointWithNothingOpen) {
    const pptsim::Scenario scenario = pptsim::ParseScenario("{}");
    EXPECT_TRUE(scenario.registered);
    EXPECT_TRUE(scenario.available);
    EXPECT_TRUE(scenario.files.empty());
    EXPECT_TRUE(scenario.open.empty());
    EXPECT_FALSE(scenario.active.has_value());
    EXPECT_TRUE(scenario.shows.empty());
    EXPECT_TRUE(scenario.failMembers.empty());
    EXPECT_EQ(scenario.delayMs, 0);
}

TEST(Scenario, FullDocument_IsReadMemberByMember) {
    const pptsim::Scenario scenario = pptsim::ParseScenario(R"({
      "registered": true, "available": true,
      "files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
      "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
      "active": "C:\\Talks\\Q3 review.pptx",
      "shows": [{"presentation": "C:\\Talks\\Q3 review.pptx", "slide": 3}],
      "failMembers": ["Open"], "delayMs": 25})");
    ASSERT_EQ(scenario.files.size(), 2u);
    EXPECT_EQ(scenario.open, (std::vector<std::wstring>{kQ3Review, kIntro}));
    EXPECT_EQ(scenario.active, kQ3Review);
    ASSERT_EQ(scenario.shows.size(), 1u);
    EXPECT_EQ(scenario.shows[0].presentation, kQ3Review);
    EXPECT_EQ(scenario.shows[0].slide, 3);
    EXPECT_EQ(scenario.failMembers, (std::set<std::string>{"Open"}));
    EXPECT_EQ(scenario.delayMs, 25);
}

TEST(Scenario, UnreadyPowerPoint_IsReadMemberByMember) {
    const pptsim::Scenario defaults = pptsim::ParseScenario("{}");
    EXPECT_TRUE(defaults.reject.empty());
    EXPECT_TRUE(defaults.rejectFor.empty());
    EXPECT_EQ(defaults.whenLastWindowCloses, pptsim::LastWindowCloses::Exit);
    EXPECT_TRUE(defaults.unsaved.empty());
    const pptsim::Scenario scenario = pptsim::ParseScenario(R"({
      "files": {"C:\\Talks\\Q3 review.pptx": 12}, "open": ["C:\\Talks\\Q3 review.pptx"],
      "reject": {"Next": 2, "SlideShowWindows": 1}, "rejectFor": {"Next": 7000},
      "whenLastWindowCloses": "stay",
      "unsaved": ["C:\\Talks\\Q3 review.pptx"]})");
    EXPECT_EQ(scenario.reject, (std::map<std::string, int>{{"Next", 2}, {"SlideShowWindows", 1}}));
    EXPECT_EQ(scenario.rejectFor, (std::map<std::string, int>{{"Next", 7000}}));
    EXPECT_EQ(scenario.whenLastWindowCloses, pptsim::LastWindowCloses::Stay);
    EXPECT_EQ(scenario.unsaved, (std::set<std::wstring>{kQ3Review}));
}

TEST(Scenario, ActiveNullOrAbsent_IsTheLastOpen) {
    for (const char* active : {"", R"(, "active": null)"}) {
        const pptsim::Scenario scenario = pptsim::ParseScenario(
            std::string(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
                           "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"])") +
            active + "}");
        EXPECT_EQ(scenario.active, kIntro) << active;
    }
}

TEST(Scenario, FileObjectsAndEndedShows_AreReadWithTheirDefaults) {
    const pptsim::Scenario scenario = pptsim::ParseScenario(R"({
      "files": {"https://d.docs.live.net/4f2a9c/Documents/Cloud deck.pptx":
                    {"slides": 12, "firstSlideNumber": 0, "hidden": [12], "showRange": [3, 9],
                     "readOnly": true},
                "D:\\Slides\\intro.pptx": {"slides": 5}},
      "open": ["D:\\Slides\\intro.pptx"],
      "shows": [{"presentation": "D:\\Slides\\intro.pptx", "ended": true}],
      "frameTitles": "withoutExtension"})");
    ASSERT_EQ(scenario.files.size(), 2u);
    // The files come in key order.
    const pptsim::ScenarioFile& cloud = scenario.files[1];
    EXPECT_EQ(cloud.fullName, L"https://d.docs.live.net/4f2a9c/Documents/Cloud deck.pptx");
    EXPECT_EQ(cloud.slideCount, 12);
    EXPECT_EQ(cloud.firstSlideNumber, 0);
    EXPECT_EQ(cloud.hidden, std::vector<int>{12});
    EXPECT_EQ(cloud.rangeStart, 3);
    EXPECT_EQ(cloud.rangeEnd, 9);
    EXPECT_TRUE(cloud.readOnly);
    const pptsim::ScenarioFile& intro = scenario.files[0];
    EXPECT_EQ(intro.firstSlideNumber, 1);
    EXPECT_TRUE(intro.hidden.empty());
    EXPECT_EQ(intro.rangeStart, 0);
    EXPECT_FALSE(intro.readOnly);
    ASSERT_EQ(scenario.shows.size(), 1u);
    EXPECT_TRUE(scenario.shows[0].ended);
    EXPECT_EQ(scenario.frameTitles, pptsim::FrameTitleStyle::WithoutExtension);
}

TEST(Scenario, PresentersDesk_IsReadMemberByMember) {
    const pptsim::Scenario scenario = pptsim::ParseScenario(R"({
      "files": {"C:\\Users\\ann\\OneDrive\\Q3 review.pptx":
                    {"slides": 12, "fullName": "https://d.docs.live.net/4f2a9c/Q3 review.pptx",
                     "clicks": {"12": 3}, "namedShows": {"Short": [2, 5, 9]}},
                "C:\\Talks\\Intro.pptx": 5},
      "open": ["C:\\Users\\ann\\OneDrive\\Q3 review.pptx"],
      "protectedView": ["C:\\Talks\\Intro.pptx"],
      "shows": [{"presentation": "C:\\Users\\ann\\OneDrive\\Q3 review.pptx",
                 "namedShow": "Short", "click": 0}],
      "rot": false,
      "restart": {"afterMs": 600, "open": ["C:\\Talks\\Intro.pptx"],
                  "shows": [{"presentation": "C:\\Talks\\Intro.pptx", "slide": 4}]}})");
    ASSERT_EQ(scenario.files.size(), 2u);
    const pptsim::ScenarioFile& synced = scenario.files[1];  // in key order
    EXPECT_EQ(synced.reportedName, L"https://d.docs.live.net/4f2a9c/Q3 review.pptx");
    EXPECT_EQ(synced.clicks, (std::map<int, int>{{12, 3}}));
    EXPECT_EQ(synced.namedShows.at(L"Short"), (std::vector<int>{2, 5, 9}));
    EXPECT_TRUE(scenario.files[0].reportedName.empty());
    EXPECT_EQ(scenario.protectedView, std::vector<std::wstring>{kIntro});
    EXPECT_EQ(scenario.active, L"C:\\Users\\ann\\OneDrive\\Q3 review.pptx");
    ASSERT_EQ(scenario.shows.size(), 1u);
    EXPECT_EQ(scenario.shows[0].namedShow, L"Short");
    EXPECT_EQ(scenario.shows[0].slide, 2) << "a custom show starts on its first slide";
    EXPECT_FALSE(scenario.rot);
    ASSERT_TRUE(scenario.restart.has_value());
    EXPECT_EQ(scenario.restart->afterMs, 600);
    EXPECT_EQ(scenario.restart->open, std::vector<std::wstring>{kIntro});
    EXPECT_EQ(scenario.restart->active, kIntro);
    ASSERT_EQ(scenario.restart->shows.size(), 1u);
    EXPECT_EQ(scenario.restart->shows[0].slide, 4);

    const pptsim::Scenario defaults = pptsim::ParseScenario(R"({
      "files": {"C:\\Talks\\Intro.pptx": 5}, "protectedView": ["C:\\Talks\\Intro.pptx"]})");
    EXPECT_TRUE(defaults.rot);
    EXPECT_FALSE(defaults.restart.has_value());
    EXPECT_EQ(defaults.active, kIntro) << "the window in Protected View is the active one";
}

// A document the simulation must refuse, and words of the reason it gives (in what()).
struct BadDocument : NamedCase {
    const char* json;
    const char* reason;
};

const BadDocument kBadDocuments[] = {
    {"EmptyText", "", "parse error"},
    {"UnclosedObject", R"({)", "parse error"},
    {"ArrayDocument", R"([])", "JSON object"},
    {"RegisteredNotBoolean", R"({"registered": "yes"})", "\"registered\" must be true or false"},
    {"NegativeSlideCount", R"({"files": {"a.pptx": -1}})", "slide count"},
    {"SlideCountAsText", R"({"files": {"a.pptx": "12"}})", "slide count"},
    {"FilesAsArray", R"({"files": ["a.pptx"]})", "\"files\" must map"},
    {"OpenFileNotListed", R"({"open": ["C:\\not listed.pptx"]})", "does not list"},
    {"OpenFileTwice", R"({"files": {"a.pptx": 1}, "open": ["a.pptx", "a.pptx"]})", "twice"},
    {"ActiveNotOpen", R"({"files": {"a.pptx": 1}, "active": "a.pptx"})",
     "\"active\" names a.pptx, which is not open"},
    {"ShowOfDeckNotOpen",
     R"({"files": {"a.pptx": 1}, "open": ["a.pptx"], "shows": [{"presentation": "b.pptx"}]})",
     "a show runs b.pptx"},
    {"ShowPastLastSlide",
     R"({"files": {"a.pptx": 3}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx", "slide": 4}]})",
     "slide 4 of 3"},
    {"ShowOfEmptyDeck",
     R"({"files": {"a.pptx": 0}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx"}]})",
     "slide 1 of 0"},
    {"FailMembersNotArray", R"({"failMembers": "Open"})", "\"failMembers\""},
    {"NegativeDelay", R"({"delayMs": -5})", "\"delayMs\""},
    {"RejectAsArray", R"({"reject": ["Next"]})", "\"reject\" must map member names to counts"},
    {"NegativeRejectCount", R"({"reject": {"Next": -1}})", "reject count of Next"},
    {"RejectForAsArray", R"({"rejectFor": ["Next"]})",
     "\"rejectFor\" must map member names to milliseconds"},
    {"RejectForTimeAsText", R"({"rejectFor": {"Next": "7000"}})", "rejectFor time of Next"},
    {"UnknownLastWindowChoice", R"({"whenLastWindowCloses": "hide"})", "\"exit\" or \"stay\""},
    {"UnsavedDeckNotOpen", R"({"files": {"a.pptx": 1}, "unsaved": ["a.pptx"]})",
     "\"unsaved\" names a.pptx"},
    {"FileObjectWithoutSlides", R"({"files": {"a.pptx": {"firstSlideNumber": 0}}})",
     "needs \"slides\""},
    {"NegativeFirstSlideNumber", R"({"files": {"a.pptx": {"slides": 3, "firstSlideNumber": -1}}})",
     "\"firstSlideNumber\""},
    {"HiddenPastLastSlide", R"({"files": {"a.pptx": {"slides": 3, "hidden": [4]}}})",
     "\"hidden\" of a.pptx names slide 4"},
    {"HiddenNotArray", R"({"files": {"a.pptx": {"slides": 3, "hidden": 3}}})",
     "\"hidden\" of a.pptx must be an array"},
    {"ShowRangeBackwards", R"({"files": {"a.pptx": {"slides": 9, "showRange": [5, 3]}}})",
     "first <= last"},
    {"ShowRangeOneEnd", R"({"files": {"a.pptx": {"slides": 9, "showRange": [3]}}})",
     "first <= last"},
    {"ShowRangePastLastSlide", R"({"files": {"a.pptx": {"slides": 9, "showRange": [3, 10]}}})",
     "\"showRange\" of a.pptx names slide 10"},
    {"ReadOnlyNotBoolean", R"({"files": {"a.pptx": {"slides": 9, "readOnly": 1}}})",
     "\"readOnly\""},
    {"EndedNotBoolean",
     R"({"files": {"a.pptx": 1}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx", "ended": 1}]})",
     "\"ended\""},
    {"UnknownFrameTitleStyle", R"({"frameTitles": "short"})",
     "\"withExtension\" or \"withoutExtension\""},
    // A presenter's desk.
    {"FullNameNotText", R"({"files": {"a.pptx": {"slides": 1, "fullName": 3}}})",
     "\"fullName\" of a.pptx must be a string"},
    {"ClicksAsArray", R"({"files": {"a.pptx": {"slides": 3, "clicks": [1]}}})",
     "\"clicks\" of a.pptx must map"},
    {"ClicksPastLastSlide", R"({"files": {"a.pptx": {"slides": 3, "clicks": {"4": 1}}}})",
     "names slide 4"},
    {"ClicksOnNoNumber", R"({"files": {"a.pptx": {"slides": 3, "clicks": {"x": 1}}}})",
     "names slide x"},
    {"NegativeClicks", R"({"files": {"a.pptx": {"slides": 3, "clicks": {"2": -1}}}})",
     "builds of slide 2"},
    {"NamedShowWithoutSlides",
     R"({"files": {"a.pptx": {"slides": 3, "namedShows": {"Short": []}}}})", "shows no slide"},
    {"NamedShowPastLastSlide",
     R"({"files": {"a.pptx": {"slides": 3, "namedShows": {"Short": [4]}}}})",
     "custom show Short of a.pptx names slide 4"},
    {"NamedShowsAsArray", R"({"files": {"a.pptx": {"slides": 3, "namedShows": ["Short"]}}})",
     "\"namedShows\""},
    {"ShowOfUnknownNamedShow",
     R"({"files": {"a.pptx": 3}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx", "namedShow": "Short"}]})",
     "does not have"},
    {"NamedShowOnSlideOutsideIt",
     R"({"files": {"a.pptx": {"slides": 3, "namedShows": {"Short": [2]}}}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx", "namedShow": "Short", "slide": 3}]})",
     "does not show"},
    {"LinkToSlideInsideItsShow",
     R"({"files": {"a.pptx": {"slides": 3, "namedShows": {"Short": [2]}}}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx", "namedShow": "Short", "slide": 2, "reachedByLink": true}]})",
     "no link took it there"},
    {"LinkWithoutNamedShow",
     R"({"files": {"a.pptx": 3}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx", "slide": 2, "reachedByLink": true}]})",
     "\"reachedByLink\""},
    {"MoreClicksPlayedThanTheSlideHas",
     R"({"files": {"a.pptx": {"slides": 3, "clicks": {"1": 1}}}, "open": ["a.pptx"], "shows": [{"presentation": "a.pptx", "click": 2}]})",
     "more than it has"},
    {"ProtectedViewFileNotListed", R"({"files": {"a.pptx": 1}, "protectedView": ["b.pptx"]})",
     "\"protectedView\" names b.pptx"},
    {"OpenInAndOutOfProtectedView",
     R"({"files": {"a.pptx": 1}, "open": ["a.pptx"], "protectedView": ["a.pptx"]})",
     "Protected View"},
    {"ShowOfDeckInProtectedView",
     R"({"files": {"a.pptx": 1}, "protectedView": ["a.pptx"], "shows": [{"presentation": "a.pptx"}]})",
     "a show runs a.pptx, which is not open"},
    {"RotNotBoolean", R"({"rot": "no"})", "\"rot\""},
    {"RestartWithoutAfterMs", R"({"restart": {"open": []}})", "\"afterMs\""},
    {"RestartAsNumber", R"({"restart": 600})", "\"restart\" must be an object"},
    {"RestartOpensFileNotListed",
     R"({"files": {"a.pptx": 1}, "restart": {"afterMs": 0, "open": ["b.pptx"]}})",
     "\"open\" names b.pptx"},
    {"RestartShowOfDeckItDoesNotOpen",
     R"({"files": {"a.pptx": 1}, "open": ["a.pptx"], "restart": {"afterMs": 0, "shows": [{"presentation": "a.pptx"}]}})",
     "a show runs a.pptx"},
};

class BadScenario : public ::testing::TestWithParam<BadDocument> {};

TEST_P(BadScenario, IsRejectedWithAReason) {
    try {
        pptsim::ParseScenario(GetParam().json);
        ADD_FAILURE() << "accepted " << GetParam().json;
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().reason));
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, BadScenario, ::testing::ValuesIn(kBadDocuments), CaseName());

class EnvironmentScenario : public SimulationTest {
protected:
    void TearDown() override {
        unsetenv("PPTSIM_SCENARIO");
        std::remove(path.c_str());
        SimulationTest::TearDown();
    }
    void WriteScenario(const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
        setenv("PPTSIM_SCENARIO", path.c_str(), 1);
    }
    const std::string path =
        ::testing::TempDir() + "pptsim-scenario-" + std::to_string(::getpid()) + ".json";
};

TEST_F(EnvironmentScenario, UnreadableOrBrokenFile_IsReportedOnceAndMakesPowerPointUnavailable) {
    for (bool exists : {false, true}) {
        if (exists) {
            WriteScenario(R"({"files": {"a.pptx": 1},)");
        } else {
            setenv("PPTSIM_SCENARIO", (path + ".missing").c_str(), 1);
        }
        ::testing::internal::CaptureStderr();
        CLSID clsid{};
        const HRESULT lookup = CLSIDFromProgID(PowerPointSurface::kProgId, &clsid);
        const HRESULT started = pptsim::ActivateApplication(application.Receive());
        const std::string written = ::testing::internal::GetCapturedStderr();

        EXPECT_EQ(lookup, S_OK);
        EXPECT_EQ(started, CO_E_SERVER_EXEC_FAILURE);
        EXPECT_NE(written.find(exists ? path : path + ".missing"), std::string::npos) << written;
        EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << written;
        EXPECT_EQ(written.back(), '\n');
    }
}

TEST_F(EnvironmentScenario, Utf8Names_BecomeUtf16Units) {
    // "Vorträge 😀.pptx" in UTF-8.
    WriteScenario(
        "{\"files\": {\"C:\\\\Vortr\xC3\xA4ge \xF0\x9F\x98\x80.pptx\": 2},"
        " \"open\": [\"C:\\\\Vortr\xC3\xA4ge \xF0\x9F\x98\x80.pptx\"]}");
    ASSERT_EQ(pptsim::ActivateApplication(application.Receive()), S_OK);
    const std::wstring expected = std::wstring(L"C:\\Vortr") + wchar_t{0x00E4} + L"ge " +
                                  std::wstring{0xD83D, 0xDE00} + L".pptx";
    EXPECT_EQ(GetText(Presentation(1).Get(), L"FullName"), expected);
    EXPECT_EQ(WindowTitle(GetTopWindow(GetDesktopWindow())), expected.substr(3) + L" - PowerPoint");
}

TEST_F(EnvironmentScenario, NotRegistered_FailsTheProgIdLookup) {
    WriteScenario(R"({"registered": false})");
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(PowerPointSurface::kProgId, &clsid), CO_E_CLASSSTRING);
}

TEST_F(SimulationTest, StartingScenario_PutsTheActiveFrameOnTopAndRunsItsShows) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5,
                        "C:\\Talks\\Empty.pptx": 0},
              "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx", "C:\\Talks\\Empty.pptx"],
              "active": "C:\\Talks\\Q3 review.pptx",
              "shows": [{"presentation": "C:\\Talks\\Intro.pptx", "slide": 5}]})");
    std::vector<std::wstring> titles;
    for (HWND window = GetTopWindow(GetDesktopWindow()); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        titles.push_back(WindowTitle(window));
    }
    EXPECT_EQ(titles,
              (std::vector<std::wstring>{L"Q3 review.pptx - PowerPoint", L"Empty.pptx - PowerPoint",
                                         L"Intro.pptx - PowerPoint"}));
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    EXPECT_EQ(state.active, kQ3Review);
    ASSERT_EQ(state.shows.size(), 1u);
    EXPECT_EQ(state.shows[0].presentation, kIntro);
    EXPECT_EQ(GetInteger(GetObject(FirstView().Get(), L"Slide").Get(), L"SlideNumber"), 5);
}

}  // namespace

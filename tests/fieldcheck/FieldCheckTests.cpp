#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "automation/ApartmentThread.h"
#include "fieldcheck/FieldCheckOptions.h"
#include "fieldcheck/KeyDisplay.h"
#include "fieldcheck/KeyWalk.h"
#include "fieldcheck/StepResult.h"
#include "fieldcheck/WindowsAnswerStep.h"
#include "platform/ComApartment.h"

namespace {

struct OptionsCase {
    const char* name;
    std::vector<std::string> arguments;
    bool valid;
    std::string plugin;
    std::string json;
    bool close;
};

void PrintTo(const OptionsCase& c, std::ostream* out) {
    *out << c.name;
}

class FieldCheckCommandLine : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(FieldCheckCommandLine, ReadsFlagsOrSaysWhatIsWrong) {
    std::string problem;
    const std::optional<FieldCheckOptions> options =
        ParseFieldCheckOptions(GetParam().arguments, problem);
    ASSERT_EQ(options.has_value(), GetParam().valid) << problem;
    if (options) {
        EXPECT_EQ(options->plugin, GetParam().plugin);
        EXPECT_EQ(options->jsonReport, GetParam().json);
        EXPECT_EQ(options->closePowerPoint, GetParam().close);
    } else {
        EXPECT_FALSE(problem.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldCheckCommandLine,
    ::testing::Values(OptionsCase{"None", {}, true, "", "", false},
                      OptionsCase{"All",
                                  {"--close", "--json", "r.json", "--plugin", "p.exe"},
                                  true,
                                  "p.exe",
                                  "r.json",
                                  true},
                      OptionsCase{"FlagWithoutValue", {"--json"}, false, "", "", false},
                      OptionsCase{"EmptyValue", {"--deck", ""}, false, "", "", false},
                      OptionsCase{"Unknown", {"--closes"}, false, "", "", false}),
    [](const ::testing::TestParamInfo<OptionsCase>& info) { return std::string(info.param.name); });

TEST(KeyDisplay, FollowsThePlayKeyAndTheLoadListOnlyForTheirContexts) {
    KeyDisplay display("P", "L");
    EXPECT_TRUE(display.Apply(
        R"({"context":"P","event":"setTitle","payload":{"target":0,"title":"2/5"}})"));
    EXPECT_FALSE(display.Apply(
        R"({"context":"X","event":"setTitle","payload":{"target":0,"title":"9/9"}})"));
    display.Apply(R"({"context":"P","event":"setState","payload":{"state":0}})");
    display.Apply(R"({"context":"X","event":"setState","payload":{"state":1}})");
    display.Apply(
        R"({"action":"a","context":"L","event":"sendToPropertyInspector","payload":{"presentations":["C:/a.pptx"]}})");
    display.Apply(R"({"context":"N","event":"showAlert"})");
    EXPECT_FALSE(display.Apply(R"({"context":"P","event":"setTitle","payload":{"title":5}})"))
        << "a title of the wrong type is no title";
    EXPECT_FALSE(display.Apply("not json"));
    EXPECT_EQ(display.DescribePlayKey(), "'2/5', state 0");
    EXPECT_EQ(display.DescribeLoadList(), "['C:/a.pptx']");
    EXPECT_EQ(display.TakeAlerts(), std::vector<std::string>{"N"});
    EXPECT_TRUE(display.TakeAlerts().empty());
}

}  // namespace

namespace {

struct AnswersCase {
    const char* name;
    bool reachable;
    std::vector<WindowAnswer> answers;
    const char* outcome;            // the line's first word
    std::vector<std::string> said;  // in the line
};

void PrintTo(const AnswersCase& c, std::ostream* out) {
    *out << c.name;
}

class WindowAnswers : public ::testing::TestWithParam<AnswersCase> {};

TEST_P(WindowAnswers, PassOnlyWhenEveryWindowOfTheProcessAnswered) {
    const AnswersCase& c = GetParam();
    const StepResult result =
        DescribeWindowAnswers(42, c.reachable, c.answers, std::chrono::milliseconds(1000),
                              std::chrono::milliseconds(3000));
    const std::string line = StepLine(result);
    EXPECT_EQ(line.substr(0, line.find(' ')), c.outcome) << line;
    for (const std::string& part : c.said) {
        EXPECT_NE(line.find(part), std::string::npos) << part << " not in " << line;
    }
    EXPECT_EQ(AllPassed({result}), std::string(c.outcome) == "ok");
}

const WindowAnswer kAnswered{L"OleMainThreadWndClass",     true, true, false,
                             std::chrono::milliseconds(3), 20};
const WindowAnswer kSilent{L"IME", false, false, false, std::chrono::milliseconds(1001), 4};
const WindowAnswer kGone{L"tooltips_class32", false, true, true, std::chrono::milliseconds(0), 3};

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowAnswers,
    ::testing::Values(
        AnswersCase{
            "AllAnswered",
            true,
            {kAnswered},
            "ok",
            {"'OleMainThreadWndClass' (message-only) answered 20 sends, the slowest in 3 ms"}},
        AnswersCase{
            "OneSilent",
            true,
            {kAnswered, kSilent},
            "FAIL",
            {"class 'IME' (top-level) did not answer within 1000 ms", "gave up after 1001 ms"}},
        AnswersCase{"OneDestroyedMeanwhile",
                    true,
                    {kAnswered, kGone},
                    "ok",
                    {"'tooltips_class32' (top-level) answered 2 sends and was then destroyed"}},
        AnswersCase{"NoWindow", true, {}, "FAIL", {"no window of process 42 was found"}},
        AnswersCase{"Unreachable", false, {}, "n/a", {"not applicable"}}),
    [](const ::testing::TestParamInfo<AnswersCase>& info) { return std::string(info.param.name); });

TEST(StepLine, StepColumnLinesUpTheLongestNameAndNeverRunsTogether) {
    const std::vector<std::string> names = KeyWalk::StepNames(true);
    const std::size_t column = StepColumnFor(names);
    std::size_t sentAt = std::string::npos;
    for (const std::string& name : names) {
        StepResult result;
        result.step = name;
        const std::string line = StepLine(result, column);
        EXPECT_EQ(line.compare(5, name.size() + 1, name + " "), 0) << line;
        if (sentAt == std::string::npos) {
            sentAt = line.find("sent ");
        }
        EXPECT_EQ(line.find("sent "), sentAt) << line;
    }
}

TEST(StepSummary, CountsNotApplicableStepsApartAndLetThemPass) {
    StepResult passed;
    passed.ok = true;
    StepResult notApplicable;
    notApplicable.applicable = false;
    EXPECT_EQ(SummaryLine({passed, notApplicable, StepResult{}}),
              "1 passed, 1 failed, 1 not applicable");
    EXPECT_TRUE(AllPassed({passed, notApplicable}));
    EXPECT_FALSE(AllPassed({notApplicable}));
}

// The search and the sends against this process's own COM threads: the apartment thread that
// dispatches messages while it waits passes; a thread in an apartment that only blocks fails.
std::string ProbeOwnProcess(std::chrono::milliseconds bound) {
    return StepLine(CheckWindowsAnswer(GetCurrentProcessId(), bound, std::chrono::milliseconds(0)));
}

TEST(WindowsAnswer, AnIdleApartmentThreadAnswersAndOneThatDoesNotPumpFails) {
    {
        ApartmentThread worker;
        worker.Start([](bool) {}, [] {});
        ASSERT_TRUE(worker.Run<bool>([] { return true; }, std::chrono::seconds(10)));
        const std::string line = ProbeOwnProcess(std::chrono::seconds(10));
        EXPECT_EQ(line.rfind("ok ", 0), 0u) << line;
        EXPECT_NE(line.find("'OleMainThreadWndClass'"), std::string::npos) << line;
    }
    std::promise<void> entered;
    std::promise<void> release;
    std::thread blocked([&entered, future = release.get_future()] {
        const ComApartment apartment;
        entered.set_value();
        future.wait();
    });
    entered.get_future().wait();
    const std::string line = ProbeOwnProcess(std::chrono::milliseconds(100));
    release.set_value();
    blocked.join();
    EXPECT_EQ(line.rfind("FAIL", 0), 0u) << line;
    EXPECT_NE(line.find("class 'OleMainThreadWndClass'"), std::string::npos) << line;
}

}  // namespace

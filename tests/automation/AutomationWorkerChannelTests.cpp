// The worker's command channel: typed results across threads, Stop, and the bounded wait
// against a PowerPoint that hangs (the simulation's "delayMs" holds every member call, until the
// test ends the hang).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "automation/ApartmentThread.h"
#include "automation/AutomationWorker.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

using Command = PowerPointCommand;

class AutomationWorkerChannel : public SimulationTest {};

// The talks of ShowScenario(2) in a PowerPoint whose every member call hangs (for ten minutes,
// far beyond any test) until EndSimulationDelay.
std::string HangingTalks() {
    std::string scenario = ShowScenario(2);
    return scenario.insert(1, "\"delayMs\": 600000,");
}

// A submitter's bound that no test below waits out.
constexpr std::chrono::minutes kPatientBound(1);

// Ends PowerPoint's hang on request, and at the latest when the test leaves, so that a failed
// assertion does not leave the worker's Stop waiting for the hang.
class HangEnder {
public:
    HangEnder() = default;
    HangEnder(const HangEnder&) = delete;
    HangEnder& operator=(const HangEnder&) = delete;
    ~HangEnder() { End(); }
    void End() const { pptsim::EndSimulationDelay(); }
};

// Waits for the answer, bounded only as a guard against hanging (well below kPatientBound,
// so an answer that only the bound would bring counts as none).
template <typename Result>
bool AnsweredWithinGuard(const std::future<Result>& answer) {
    return answer.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
}

TEST_F(AutomationWorkerChannel, ConcurrentSubmitters_EachReceiveTheirOwnResult) {
    UseScenario(kTalksScenario);
    AutomationWorker worker;
    worker.Start();
    struct Submitter {
        std::wstring path;
        std::int32_t expected;
    };
    const Submitter submitters[] = {{kQ3Review, 12}, {kIntro, 5}, {kEmpty, -1}, {kClosed, -1}};
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (const Submitter& submitter : submitters) {
        threads.emplace_back([&worker, &mismatches, submitter] {
            for (int round = 0; round < 25; ++round) {
                if (worker.SubmitInt(Command::GetSlideCount, submitter.path) !=
                    submitter.expected) {
                    ++mismatches;
                }
            }
        });
    }
    threads.emplace_back([&worker, &mismatches] {
        for (int round = 0; round < 25; ++round) {
            if (worker.SubmitString(L"") != kIntro) {
                ++mismatches;
            }
        }
    });
    for (std::thread& thread : threads) {
        thread.join();
    }
    worker.Stop();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST_F(AutomationWorkerChannel, SubmissionsWhenNotRunning_FailAtOnce) {
    UseScenario(kTalksScenario);
    AutomationWorker worker;
    EXPECT_FALSE(worker.SubmitBool(Command::IsInSlideShow, kQ3Review)) << "before Start";
    worker.Start();
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kIntro), 5);
    worker.Stop();
    EXPECT_FALSE(worker.SubmitBool(Command::OpenPresentation, kClosed));
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kIntro), -1);
    EXPECT_EQ(worker.SubmitInt(static_cast<Command>(50), L""), 0);
    EXPECT_EQ(worker.SubmitString(L""), L"");
    EXPECT_TRUE(worker.SubmitList(L"").empty());
    EXPECT_EQ(pptsim::ReadSimulationState().open.size(), 3u) << "nothing was opened";
    EXPECT_THROW(worker.SubmitBool(Command::GetSlideCount, kIntro), std::bad_variant_access);
}

TEST_F(AutomationWorkerChannel, Stop_AnswersQueuedRequestsWithoutPerformingThem) {
    // The first request hangs in PowerPoint until the test ends the hang; no submitter gives up
    // within the test.
    UseScenario(HangingTalks());
    AutomationWorker worker(kPatientBound);
    const HangEnder hang;
    worker.Start();

    auto busy = std::async(std::launch::async, [&worker] { return worker.SubmitString(L""); });
    ASSERT_TRUE(Eventually([] { return TraceHas("get Application.ActivePresentation"); }));
    auto count = std::async(std::launch::async, [&worker] {
        return worker.SubmitInt(Command::GetSlideCount, kQ3Review);
    });
    auto list = std::async(std::launch::async, [&worker] { return worker.SubmitList(L""); });
    auto next = std::async(std::launch::async,
                           [&worker] { return worker.SubmitBool(Command::NextSlide, L""); });
    ASSERT_TRUE(Eventually([&worker] { return worker.QueuedRequests() == 3; }));

    std::thread stopper([&worker] { worker.Stop(); });
    // Stop answers them while PowerPoint still hangs, instead of leaving them to their bound.
    const bool answered =
        AnsweredWithinGuard(count) && AnsweredWithinGuard(list) && AnsweredWithinGuard(next);
    hang.End();
    stopper.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(count.get(), -1);
    EXPECT_TRUE(list.get().empty());
    EXPECT_FALSE(next.get());
    EXPECT_EQ(busy.get(), kIntro) << "the request in progress is finished";
    EXPECT_FALSE(TraceMentions("Presentations")) << "queued requests are not performed";
    EXPECT_FALSE(TraceMentions("SlideShowWindows"));
    EXPECT_EQ(pptsim::ReadSimulationState().shows[0].slide, 2);
}

TEST_F(AutomationWorkerChannel, HungPowerPoint_CostsOneBoundAndDropsAbandonedRequests) {
    // PowerPoint hangs in the first member call until the test ends the hang, so every
    // submitter below gives up. The bound only has to outlast the start of the second
    // submitter's thread.
    UseScenario(HangingTalks());
    AutomationWorker worker(std::chrono::seconds(2));
    const HangEnder hang;
    worker.Start();

    auto hung = std::async(std::launch::async, [&worker] {
        return worker.SubmitBool(Command::IsInSlideShow, kQ3Review);
    });
    ASSERT_TRUE(Eventually([] { return TraceHas("get Application.SlideShowWindows"); }));
    // Queued behind the hung request; its submitter gives up too before the worker is free.
    auto queued = std::async(std::launch::async, [&worker] { return worker.SubmitList(L""); });
    ASSERT_TRUE(Eventually([&worker] { return worker.QueuedRequests() == 1; }))
        << "not queued within the hung request's bound";

    EXPECT_FALSE(hung.get()) << "the timed-out submitter gets the failure result";
    EXPECT_TRUE(queued.get().empty());
    // The worker is still stuck on the abandoned request: a new submission fails at once,
    // without joining the queue.
    EXPECT_EQ(worker.SubmitString(L""), L"");
    EXPECT_EQ(worker.QueuedRequests(), 1U) << "the refused request was queued";

    // Once the worker is free, service resumes (closing needs no member call).
    hang.End();
    ASSERT_TRUE(Eventually([&worker] { return worker.SubmitBool(Command::ClosePowerPoint, L""); }));
    worker.Stop();

    EXPECT_FALSE(TraceMentions("SlideShowWindows.Count"))
        << "the hung request made a further call after its submitter gave up";
    EXPECT_FALSE(TraceMentions("Presentations")) << "the abandoned queued request was dropped";
    EXPECT_FALSE(TraceMentions("ActivePresentation")) << "the refused request was not performed";
}

int TraceCount(const std::string& line) {
    const std::vector<std::string> trace = pptsim::SimulationTrace();
    return static_cast<int>(std::count(trace.begin(), trace.end(), line));
}

// The talks' show on slide 3, with PowerPoint turning every call of the named member away as
// busy for far longer than any test.
std::string BusyFor(const std::string& member) {
    std::string scenario = ShowScenario(3);
    return scenario.insert(1, "\"reject\": {\"" + member + "\": 1000000},");
}

int RejectedCalls() {
    const std::vector<std::string> trace = pptsim::SimulationTrace();
    return static_cast<int>(std::count_if(trace.begin(), trace.end(), [](const std::string& line) {
        return line.rfind("reject ", 0) == 0;
    }));
}

// A dialog opened by the first call of Next keeps PowerPoint turning every call away for
// `spellMs`: a press that meets it for its whole bound fails at its bound, and while PowerPoint
// goes on refusing, presses fail at once; the first call of any member that goes through ends
// that, and a press is then tried again within its bound.
TEST_F(AutomationWorkerChannel,
       BusyPowerPoint_RefusingForAWholeBoundFailsPressesAtOnceUntilAnswered) {
    std::string scenario = ShowScenario(3);
    UseScenario(scenario.insert(1, R"("rejectFor": {"Next": 1500, "Previous": 300},)"));
    AutomationWorker worker(std::chrono::seconds(1));
    worker.Start();
    EXPECT_FALSE(worker.SubmitBool(Command::NextSlide, L""));
    const int rejected = RejectedCalls();
    EXPECT_GT(rejected, 2) << "asked again within its bound";
    for (int press = 1; press <= 3; ++press) {
        EXPECT_FALSE(worker.SubmitBool(Command::FirstSlide, L""));
        EXPECT_EQ(RejectedCalls(), rejected + press) << "turned away once, and failed at once";
    }
    // The dialog closes: a read goes through, and a press meeting a short busy spell of its own
    // is asked again until PowerPoint takes it.
    ASSERT_TRUE(Eventually(
        [&worker] { return worker.SubmitInt(Command::GetSlideCount, kQ3Review) == 12; }));
    EXPECT_TRUE(worker.SubmitBool(Command::PreviousSlide, L""));
    worker.Stop();
    EXPECT_TRUE(TraceMentions("reject SlideShowView.Previous"));
    EXPECT_FALSE(TraceMentions("call SlideShowView.Next"));
    EXPECT_FALSE(TraceMentions("call SlideShowView.First"));
    EXPECT_EQ(pptsim::ReadSimulationState().shows[0].slide, 2);
}

TEST_F(AutomationWorkerChannel, BusyPowerPoint_IsAskedAgainBrieflyForARefreshAndLongForAPress) {
    UseScenario(BusyFor("SlideShowWindows"));
    AutomationWorker worker(std::chrono::seconds(2));
    worker.Start();
    using Patience = AutomationWorker::Patience;
    EXPECT_FALSE(worker.SubmitBool(Command::IsInSlideShow, kQ3Review, Patience::Refresh));
    const int byRefresh = TraceCount("reject Application.SlideShowWindows");
    EXPECT_FALSE(worker.SubmitBool(Command::IsInSlideShow, kQ3Review, Patience::Press));
    const int byPress = TraceCount("reject Application.SlideShowWindows") - byRefresh;
    worker.Stop();
    EXPECT_GT(byRefresh, 1);
    EXPECT_GT(byPress, 2 * byRefresh) << "a refresh read waits as long as a press";
}

TEST_F(AutomationWorkerChannel, StopOnAnIdleWorker_Returns) {
    UseScenario(kTalksScenario);
    AutomationWorker worker;
    worker.Start();
    EXPECT_EQ(worker.SubmitInt(Command::GetSlideCount, kIntro), 5);
    worker.Stop();
    worker.Stop();  // a second Stop is harmless
}

// An idle apartment thread dispatches its window messages: a program that sends one to a
// window of the thread (as to COM's hidden window of the apartment) gets its answer.
TEST(ApartmentThread, IdleThread_AnswersAMessageSentToItsWindow) {
    ApartmentThread thread;
    thread.Start([](bool) {}, [] {});
    const std::optional<HWND> window = thread.Run<HWND>(
        [] { return WindowList::Instance().Create(L"OleMainThreadWndClass", L"", nullptr); },
        std::chrono::seconds(60));
    ASSERT_TRUE(window.has_value());
    DWORD_PTR answer = 1;
    EXPECT_NE(SendMessageTimeoutW(*window, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &answer), 0);
    EXPECT_EQ(answer, 0u);
    thread.Stop();
    WindowList::Instance().Destroy(*window);
}

}  // namespace

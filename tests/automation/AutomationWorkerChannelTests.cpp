// The worker's command channel: typed results across threads, Stop, and the bounded wait
// against a PowerPoint that hangs (the simulation's "delayMs" holds every member call).
#include <gtest/gtest.h>

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

std::string SlowTalks(int delayMs) {
    std::string scenario = ShowScenario(2);
    return scenario.insert(1, "\"delayMs\": " + std::to_string(delayMs) + ",");
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
    // Each member call takes a second, so the first request occupies the worker for two.
    UseScenario(SlowTalks(1000));
    AutomationWorker worker(std::chrono::seconds(10));
    worker.Start();

    std::atomic<bool> busyAnswered{false};
    auto busy = std::async(std::launch::async, [&worker, &busyAnswered] {
        std::wstring name = worker.SubmitString(L"");
        busyAnswered = true;
        return name;
    });
    ASSERT_TRUE(Eventually([] { return TraceHas("get Application.ActivePresentation"); }));
    // Queued behind it. Each records whether it was answered before the busy request was: Stop
    // must answer them at once, not leave them to wait out their bound.
    auto queuedSubmission = [&worker, &busyAnswered](auto submit) {
        return std::async(std::launch::async, [&worker, &busyAnswered, submit] {
            auto result = submit(worker);
            return std::make_pair(result, !busyAnswered.load());
        });
    };
    auto count = queuedSubmission(
        [](AutomationWorker& w) { return w.SubmitInt(Command::GetSlideCount, kQ3Review); });
    auto list = queuedSubmission([](AutomationWorker& w) { return w.SubmitList(L""); });
    auto next =
        queuedSubmission([](AutomationWorker& w) { return w.SubmitBool(Command::NextSlide, L""); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let them queue
    worker.Stop();

    EXPECT_EQ(busy.get(), kIntro) << "the request in progress is finished";
    const auto [countResult, countEarly] = count.get();
    const auto [listResult, listEarly] = list.get();
    const auto [nextResult, nextEarly] = next.get();
    EXPECT_EQ(countResult, -1);
    EXPECT_TRUE(listResult.empty());
    EXPECT_FALSE(nextResult);
    EXPECT_TRUE(countEarly && listEarly && nextEarly);
    EXPECT_FALSE(TraceMentions("Presentations")) << "queued requests are not performed";
    EXPECT_FALSE(TraceMentions("SlideShowWindows"));
    EXPECT_EQ(pptsim::ReadSimulationState().shows[0].slide, 2);
}

TEST_F(AutomationWorkerChannel, HungPowerPoint_CostsOneBoundAndDropsAbandonedRequests) {
    // Every member call takes 400 ms; a submitter waits at most one second. IsInSlideShow makes
    // five calls, so its submitter gives up while the worker is still busy with it.
    UseScenario(SlowTalks(400));
    AutomationWorker worker(std::chrono::milliseconds(1000));
    worker.Start();

    auto hung = std::async(std::launch::async, [&worker] {
        return worker.SubmitBool(Command::IsInSlideShow, kQ3Review);
    });
    ASSERT_TRUE(Eventually([] { return TraceHas("get Application.SlideShowWindows"); }));
    // Queued behind the hung request; its submitter gives up too before the worker is free.
    auto queued = std::async(std::launch::async, [&worker] { return worker.SubmitList(L""); });

    EXPECT_FALSE(hung.get()) << "the timed-out submitter gets the failure result";
    EXPECT_TRUE(queued.get().empty());
    // The worker is still stuck on the abandoned request: a new submission fails at once,
    // before the worker reaches the last call of the hung request.
    EXPECT_EQ(worker.SubmitString(L""), L"");
    EXPECT_FALSE(TraceHas("get Presentation.FullName"));

    // Once the worker is free, service resumes (closing needs no member call, so it is quick).
    ASSERT_TRUE(Eventually([&worker] { return worker.SubmitBool(Command::ClosePowerPoint, L""); }));
    worker.Stop();

    EXPECT_TRUE(TraceHas("get Presentation.FullName")) << "the hung request ran to its end";
    EXPECT_FALSE(TraceMentions("Presentations")) << "the abandoned queued request was dropped";
    EXPECT_FALSE(TraceMentions("ActivePresentation")) << "the refused request was not queued";
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

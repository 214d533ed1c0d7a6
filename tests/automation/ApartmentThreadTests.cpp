// The executor under the plug-in's worker and the field check's PowerPoint thread: where its
// hooks and jobs run, and what its destructor does with a thread stuck in a job. The bounded
// wait, abandonment and Stop are covered through the worker (AutomationWorkerChannelTests).
#include "automation/ApartmentThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// A generous bound: these waits end as soon as the job does.
constexpr std::chrono::seconds kLongBound{60};

TEST(ApartmentThread, HooksAndJobs_RunInOrderOnTheThreadItself) {
    auto seen = std::make_shared<std::vector<std::string>>();
    auto threads = std::make_shared<std::vector<std::thread::id>>();
    {
        ApartmentThread thread;
        thread.Start(
            [seen, threads](bool entered) {
                seen->push_back(entered ? "enter" : "enter outside an apartment");
                threads->push_back(std::this_thread::get_id());
            },
            [seen, threads] {
                seen->push_back("leave");
                threads->push_back(std::this_thread::get_id());
            });
        for (int job = 1; job <= 2; ++job) {
            EXPECT_EQ(thread.Run<int>(
                          [seen, threads, job] {
                              seen->push_back("job " + std::to_string(job));
                              threads->push_back(std::this_thread::get_id());
                              return job;
                          },
                          kLongBound),
                      job);
        }
        thread.Stop();
        EXPECT_FALSE(thread.Run<int>([] { return 3; }, kLongBound)) << "after Stop";
    }
    EXPECT_EQ(*seen, (std::vector<std::string>{"enter", "job 1", "job 2", "leave"}));
    ASSERT_EQ(threads->size(), 4u);
    for (const std::thread::id& id : *threads) {
        EXPECT_EQ(id, threads->front());
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

// The idle thread sleeps until a job's post wakes it: a post that comes just as the thread
// goes to sleep must wake it all the same, or its submitter would wait out its whole bound.
TEST(ApartmentThread, PostsRacingTheIdleWait_AreNeverLost) {
    ApartmentThread thread;
    thread.Start([](bool) {}, [] {});
    auto submit = [&thread](int from) {
        int answered = 0;
        for (int job = 0; job < 2000; ++job) {
            answered += thread.Run<int>([from] { return from; }, kLongBound).value_or(0);
        }
        return answered;
    };
    auto other = std::async(std::launch::async, submit, 2);
    EXPECT_EQ(submit(1), 2000);
    EXPECT_EQ(other.get(), 4000);
    thread.Stop();
}

TEST(ApartmentThread, Destructor_LeavesAThreadStuckInAJobToFinishOnItsOwn) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> left;
    std::future<void> hasLeft = left.get_future();
    auto leftSlot = std::make_shared<std::promise<void>>(std::move(left));
    {
        ApartmentThread thread;
        thread.Start([](bool) {}, [leftSlot] { leftSlot->set_value(); });
        // Once the thread serves (its first job answered), the next job begins as soon as it is
        // posted, far within the second its submitter waits; it gives up on a job that goes on
        // running.
        ASSERT_EQ(thread.Run<int>([] { return 0; }, kLongBound), 0);
        EXPECT_FALSE(thread.Run<int>(
            [released] {
                released.wait();
                return 1;
            },
            std::chrono::seconds(1)));
        EXPECT_FALSE(thread.Run<int>([] { return 2; }, kLongBound)) << "refused while stuck";
    }  // returns although the job still runs: waiting here would never end
    release.set_value();
    EXPECT_EQ(hasLeft.wait_for(kLongBound), std::future_status::ready)
        << "the thread finished its job and left its apartment";
}

}  // namespace

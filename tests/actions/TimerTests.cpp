#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "actions/CallBackTimer.h"
#include "actions/OneShotTimer.h"

namespace {

using namespace std::chrono_literals;

// Long enough that a wait which is not cut short would hang the test into its time-out.
constexpr int kNeverMs = 3'600'000;

// Counts calls and lets the test wait for a number of them.
class CallCounter {
public:
    void Record() {
        std::lock_guard<std::mutex> lock(mutex);
        ++calls;
        changed.notify_all();
    }
    // Bounded only so that a broken timer fails the test instead of hanging it.
    bool WaitFor(int count) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, 60s, [&] { return calls >= count; });
    }
    int Calls() {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    int calls = 0;
};

// Lets a callback stop halfway until the test releases it.
struct Gate {
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released{release.get_future().share()};
};

TEST(CallBackTimer, RunsAtOnce_ThenAfterEachInterval) {
    CallCounter counter;
    CallBackTimer timer;
    timer.Start(kNeverMs, [&] { counter.Record(); });
    ASSERT_TRUE(counter.WaitFor(1));
    // Stop has to cut the hour-long wait short for this test to end.
    timer.Stop();
    EXPECT_EQ(counter.Calls(), 1);

    CallCounter periodic;
    timer.Start(1, [&] { periodic.Record(); });
    ASSERT_TRUE(periodic.WaitFor(3));
    timer.Stop();
    const int callsAtStop = periodic.Calls();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(periodic.Calls(), callsAtStop);
}

TEST(CallBackTimer, StopWaitsForRunningCallback) {
    Gate gate;
    std::atomic<bool> finished{false};
    CallBackTimer timer;
    timer.Start(kNeverMs, [&] {
        gate.entered.set_value();
        gate.released.wait();
        finished = true;
    });
    gate.entered.get_future().wait();
    std::thread stopper([&] {
        timer.Stop();
        EXPECT_TRUE(finished);
    });
    gate.release.set_value();
    stopper.join();
}

TEST(CallBackTimer, RestartStopsOldThreadFirst) {
    std::atomic<int> active{0};
    std::atomic<bool> overlapped{false};
    CallCounter first;
    CallCounter second;
    auto exclusive = [&](CallCounter& counter) {
        return [&] {
            if (active.fetch_add(1) != 0) {
                overlapped = true;
            }
            std::this_thread::sleep_for(1ms);
            counter.Record();
            active.fetch_sub(1);
        };
    };
    CallBackTimer timer;
    timer.Start(1, exclusive(first));
    ASSERT_TRUE(first.WaitFor(2));
    timer.Start(1, exclusive(second));
    const int firstCallsAtRestart = first.Calls();
    ASSERT_TRUE(second.WaitFor(2));
    timer.Stop();
    EXPECT_EQ(first.Calls(), firstCallsAtRestart);
    EXPECT_FALSE(overlapped);
}

TEST(CallBackTimer, StopFromCallbackReportsDeadlock) {
    std::promise<std::error_code> reported;
    CallBackTimer timer;
    timer.Start(kNeverMs, [&] {
        try {
            timer.Stop();
            reported.set_value({});
        } catch (const std::system_error& error) {
            reported.set_value(error.code());
        }
    });
    EXPECT_EQ(reported.get_future().get(), std::errc::resource_deadlock_would_occur);
    timer.Stop();
}

TEST(CallBackTimer, DestructionStopsAndJoins) {
    CallCounter counter;
    {
        CallBackTimer timer;
        timer.Start(1, [&] { counter.Record(); });
        ASSERT_TRUE(counter.WaitFor(2));
    }
    const int callsAtDestruction = counter.Calls();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(counter.Calls(), callsAtDestruction);
}

TEST(CallBackTimer, StopWithoutStartDoesNothing) {
    CallBackTimer timer;
    timer.Stop();
    timer.Stop();
    CallCounter counter;
    timer.Start(kNeverMs, [&] { counter.Record(); });
    ASSERT_TRUE(counter.WaitFor(1));
    timer.Stop();
    EXPECT_EQ(counter.Calls(), 1);
}

TEST(OneShotTimer, StoppedBeforeFiringNeverRunsCallback) {
    CallCounter counter;
    OneShotTimer timer;
    EXPECT_FALSE(timer.IsRunning());
    timer.Start(kNeverMs, [&] { counter.Record(); });
    EXPECT_TRUE(timer.IsRunning());
    timer.Stop();
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(counter.Calls(), 0);
}

TEST(OneShotTimer, StopRightAfterStartNeverRunsCallback) {
    // Stop races the thread's start: a cleared flag must win even before the wait begins.
    CallCounter counter;
    for (int i = 0; i < 50; ++i) {
        OneShotTimer timer;
        timer.Start(1000, [&] { counter.Record(); });
        timer.Stop();
    }
    EXPECT_EQ(counter.Calls(), 0);
}

TEST(OneShotTimer, FiresOnce_ThenIsNoLongerRunning) {
    CallCounter counter;
    OneShotTimer timer;
    timer.Start(1, [&] { counter.Record(); });
    ASSERT_TRUE(counter.WaitFor(1));
    while (timer.IsRunning()) {
        std::this_thread::sleep_for(1ms);
    }
    timer.Stop();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(counter.Calls(), 1);
    EXPECT_FALSE(timer.IsRunning());
}

TEST(OneShotTimer, StartWhileArmedChangesNothing) {
    CallCounter first;
    CallCounter second;
    OneShotTimer timer;
    timer.Start(20, [&] { first.Record(); });
    timer.Start(1, [&] { second.Record(); });
    ASSERT_TRUE(first.WaitFor(1));
    timer.Stop();
    EXPECT_EQ(first.Calls(), 1);
    EXPECT_EQ(second.Calls(), 0);
}

TEST(OneShotTimer, StartAfterFiringArmsAgain) {
    CallCounter first;
    CallCounter second;
    OneShotTimer timer;
    timer.Start(1, [&] { first.Record(); });
    ASSERT_TRUE(first.WaitFor(1));
    while (timer.IsRunning()) {
        std::this_thread::sleep_for(1ms);
    }
    timer.Start(kNeverMs, [&] { second.Record(); });
    EXPECT_TRUE(timer.IsRunning());
    timer.Stop();
    timer.Start(1, [&] { second.Record(); });
    ASSERT_TRUE(second.WaitFor(1));
    timer.Stop();
    EXPECT_EQ(first.Calls(), 1);
    EXPECT_EQ(second.Calls(), 1);
}

TEST(OneShotTimer, StopWaitsForRunningCallback) {
    Gate gate;
    std::atomic<bool> finished{false};
    OneShotTimer timer;
    timer.Start(1, [&] {
        gate.entered.set_value();
        gate.released.wait();
        finished = true;
    });
    gate.entered.get_future().wait();
    std::thread stopper([&] {
        timer.Stop();
        EXPECT_TRUE(finished);
    });
    gate.release.set_value();
    stopper.join();
}

TEST(OneShotTimer, StopFromCallbackReportsDeadlock) {
    std::promise<std::error_code> reported;
    OneShotTimer timer;
    timer.Start(1, [&] {
        try {
            timer.Stop();
            reported.set_value({});
        } catch (const std::system_error& error) {
            reported.set_value(error.code());
        }
    });
    EXPECT_EQ(reported.get_future().get(), std::errc::resource_deadlock_would_occur);
    timer.Stop();
}

TEST(OneShotTimer, DestructionWhileArmedNeverRunsCallback) {
    CallCounter counter;
    {
        OneShotTimer timer;
        timer.Start(kNeverMs, [&] { counter.Record(); });
    }
    EXPECT_EQ(counter.Calls(), 0);
}

}  // namespace

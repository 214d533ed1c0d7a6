#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>

#include "actions/CallBackTimer.h"
#include "actions/OneShotTimer.h"

namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

// Long enough that a real wait which is not cut short would hang the test into its time-out.
constexpr int kNeverMs = 3'600'000;
// What a test waits for another thread at most, so that a broken timer fails instead of hanging.
constexpr auto kBound = 60s;

// Counts calls and lets the test wait for a number of them.
class CallCounter {
public:
    void Record() {
        std::lock_guard<std::mutex> lock(mutex);
        ++calls;
        changed.notify_all();
    }
    bool WaitFor(int count) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, kBound, [&] { return calls >= count; });
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

// A clock that only the test moves: a timer's wait ends when the test lets its interval pass or
// when the timer is stopped, never by itself.
class ManualClock {
public:
    TimerWait Wait() {
        return [this](std::condition_variable& wakeUp, std::unique_lock<std::mutex>& lock,
                      milliseconds interval, const std::function<bool()>& stopped) {
            {
                std::lock_guard<std::mutex> guard(mutex);
                pending = Pending{lock.mutex(), &wakeUp, interval};
            }
            changed.notify_all();
            wakeUp.wait(lock, [&] { return stopped() || elapsed; });
            elapsed = false;
            std::lock_guard<std::mutex> guard(mutex);
            pending.timerMutex = nullptr;
            return stopped();
        };
    }

    // Waits until the timer thread waits; the interval it waits for, or -1 ms if it never does.
    milliseconds WaitingFor() {
        std::unique_lock<std::mutex> lock(mutex);
        const bool waiting =
            changed.wait_for(lock, kBound, [&] { return pending.timerMutex != nullptr; });
        return waiting ? pending.interval : milliseconds(-1);
    }

    // Lets the interval of the timer thread's next wait pass; that interval, or -1 ms.
    milliseconds Elapse() {
        Pending wait;
        {
            std::unique_lock<std::mutex> lock(mutex);
            if (!changed.wait_for(lock, kBound, [&] { return pending.timerMutex != nullptr; })) {
                return milliseconds(-1);
            }
            wait = pending;
            pending.timerMutex = nullptr;
        }
        {
            // Under the timer's lock, so the waiting thread cannot miss it.
            std::lock_guard<std::mutex> lock(*wait.timerMutex);
            elapsed = true;
        }
        wait.wakeUp->notify_all();
        return wait.interval;
    }

private:
    struct Pending {
        std::mutex* timerMutex = nullptr;
        std::condition_variable* wakeUp = nullptr;
        milliseconds interval{0};
    };
    std::mutex mutex;
    std::condition_variable changed;
    Pending pending;
    // Guarded by the timer's lock.
    bool elapsed = false;
};

// Lets a callback stop halfway until the test releases it.
struct Gate {
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released{release.get_future().share()};
};

TEST(CallBackTimer, RunsAtOnce_ThenAfterEachInterval) {
    ManualClock clock;
    CallCounter counter;
    CallBackTimer timer(clock.Wait());
    timer.Start(5, [&] { counter.Record(); });
    for (int run = 1; run <= 3; ++run) {
        ASSERT_TRUE(counter.WaitFor(run));
        // Each pause begins once the run has ended.
        ASSERT_EQ(clock.WaitingFor(), 5ms);
        EXPECT_EQ(counter.Calls(), run);
        if (run < 3) {
            clock.Elapse();
        }
    }
    timer.Stop();
    EXPECT_EQ(counter.Calls(), 3);
}

// Starts the timer on the real clock with an hour's interval, waits for the run that comes at
// once and stops the timer: Stop has to cut the hour-long wait short for the test to end.
void RunOnceAndStop(CallBackTimer& timer) {
    CallCounter counter;
    timer.Start(kNeverMs, [&] { counter.Record(); });
    ASSERT_TRUE(counter.WaitFor(1));
    timer.Stop();
    EXPECT_EQ(counter.Calls(), 1);
}

TEST(CallBackTimer, StopCutsTheRealClocksWaitShort) {
    CallBackTimer timer;
    RunOnceAndStop(timer);
}

TEST(CallBackTimer, RestartStopsOldThreadFirst) {
    ManualClock clock;
    Gate gate;
    std::atomic<int> firstCalls{0};
    std::atomic<bool> firstReturned{false};
    std::atomic<bool> overlapped{false};
    CallCounter second;
    CallBackTimer timer(clock.Wait());
    timer.Start(1, [&] {
        if (firstCalls.fetch_add(1) == 0) {
            gate.entered.set_value();
            gate.released.wait();
        }
        firstReturned = true;
    });
    gate.entered.get_future().wait();
    // Restarted while the first callback is still running.
    std::thread restarter([&] {
        timer.Start(1, [&] {
            overlapped = overlapped || !firstReturned;
            second.Record();
        });
    });
    gate.release.set_value();
    restarter.join();
    ASSERT_TRUE(second.WaitFor(1));
    // Only the new thread waits: the old one would run its callback again after this.
    clock.Elapse();
    ASSERT_TRUE(second.WaitFor(2));
    timer.Stop();
    EXPECT_EQ(firstCalls, 1);
    EXPECT_FALSE(overlapped);
}

TEST(CallBackTimer, DestructionStopsAndJoins) {
    ManualClock clock;
    CallCounter counter;
    {
        CallBackTimer timer(clock.Wait());
        timer.Start(1, [&] { counter.Record(); });
        ASSERT_TRUE(counter.WaitFor(1));
        ASSERT_EQ(clock.WaitingFor(), 1ms);
    }
    // Joined: nothing is left to run the callback again.
    EXPECT_EQ(counter.Calls(), 1);
}

TEST(CallBackTimer, StopWithoutStartDoesNothing) {
    CallBackTimer timer;
    timer.Stop();
    timer.Stop();
    RunOnceAndStop(timer);
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
    ManualClock clock;
    CallCounter counter;
    for (int i = 0; i < 50; ++i) {
        OneShotTimer timer(clock.Wait());
        timer.Start(1000, [&] { counter.Record(); });
        timer.Stop();
    }
    EXPECT_EQ(counter.Calls(), 0);
}

// Until the fired timer's thread has cleared its run flag (right after the callback).
void AwaitFired(const OneShotTimer& timer) {
    while (timer.IsRunning()) {
        std::this_thread::yield();
    }
}

// A one-shot timer on the manual clock, and the calls of a first and a second callback.
class OneShotOnManualClock : public ::testing::Test {
protected:
    ManualClock clock;
    CallCounter first;
    CallCounter second;
    OneShotTimer timer{clock.Wait()};
};

TEST_F(OneShotOnManualClock, FiresOnce_ThenIsNoLongerRunning) {
    timer.Start(7, [&] { first.Record(); });
    EXPECT_EQ(clock.Elapse(), 7ms);
    ASSERT_TRUE(first.WaitFor(1));
    AwaitFired(timer);
    timer.Stop();
    EXPECT_EQ(first.Calls(), 1);
    EXPECT_FALSE(timer.IsRunning());
}

TEST_F(OneShotOnManualClock, StartWhileArmedChangesNothing) {
    timer.Start(20, [&] { first.Record(); });
    timer.Start(1, [&] { second.Record(); });
    // Still the first interval: the second start neither restarted nor shortened it.
    EXPECT_EQ(clock.Elapse(), 20ms);
    ASSERT_TRUE(first.WaitFor(1));
    timer.Stop();
    EXPECT_EQ(first.Calls(), 1);
    EXPECT_EQ(second.Calls(), 0);
}

TEST_F(OneShotOnManualClock, StartAfterFiringArmsAgain) {
    timer.Start(1, [&] { first.Record(); });
    clock.Elapse();
    ASSERT_TRUE(first.WaitFor(1));
    AwaitFired(timer);
    timer.Start(kNeverMs, [&] { second.Record(); });
    EXPECT_TRUE(timer.IsRunning());
    timer.Stop();
    timer.Start(1, [&] { second.Record(); });
    clock.Elapse();
    ASSERT_TRUE(second.WaitFor(1));
    timer.Stop();
    EXPECT_EQ(first.Calls(), 1);
    EXPECT_EQ(second.Calls(), 1);
}

TEST(OneShotTimer, DestructionWhileArmedNeverRunsCallback) {
    CallCounter counter;
    {
        OneShotTimer timer;
        timer.Start(kNeverMs, [&] { counter.Record(); });
    }
    EXPECT_EQ(counter.Calls(), 0);
}

// What Stop promises holds for both timers alike; they differ only in when a callback first
// runs: the periodic timer's at once, the one-shot timer's once its interval has passed.
template <typename Timer>
class AnyTimer : public ::testing::Test {
protected:
    // Starts the timer and lets its callback begin.
    void StartAndFire(std::function<void()> callback);

    ManualClock clock;
    Timer timer{clock.Wait()};
};

template <>
void AnyTimer<CallBackTimer>::StartAndFire(std::function<void()> callback) {
    timer.Start(1, std::move(callback));
}

template <>
void AnyTimer<OneShotTimer>::StartAndFire(std::function<void()> callback) {
    timer.Start(1, std::move(callback));
    clock.Elapse();
}

using Timers = ::testing::Types<CallBackTimer, OneShotTimer>;
TYPED_TEST_SUITE(AnyTimer, Timers);

TYPED_TEST(AnyTimer, StopWaitsForRunningCallback) {
    Gate gate;
    std::atomic<bool> finished{false};
    this->StartAndFire([&] {
        gate.entered.set_value();
        gate.released.wait();
        finished = true;
    });
    gate.entered.get_future().wait();
    std::thread stopper([&] {
        this->timer.Stop();
        EXPECT_TRUE(finished);
    });
    gate.release.set_value();
    stopper.join();
}

TYPED_TEST(AnyTimer, StopFromCallbackReportsDeadlock) {
    std::promise<std::error_code> reported;
    this->StartAndFire([&] {
        try {
            this->timer.Stop();
            reported.set_value({});
        } catch (const std::system_error& error) {
            reported.set_value(error.code());
        }
    });
    EXPECT_EQ(reported.get_future().get(), std::errc::resource_deadlock_would_occur);
    this->timer.Stop();
}

}  // namespace

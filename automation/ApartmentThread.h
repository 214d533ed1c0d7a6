// A thread in a COM apartment of its own that performs posted work one job at a time, in
// posting order: objects of another process (PowerPoint's) are reached from that apartment
// only, and a server that stops answering holds up only this thread.
//
// A submitter waits a bound it chooses, and the bound goes with the job: its calls stop trying
// when the submitter stops waiting (CallBudget.h). One that gives up gets no result, and its job
// is dropped unless already running. A job whose acting call (one that may change what the server
// shows) began in time is waited for until that call returns, within one more bound, so that the
// result says what the call did. While the thread is stuck on a job whose submitter gave up,
// new submissions fail at once, so a hung server costs each submission at most one bound.
//
// Idle, the thread sleeps until a job comes or a message arrives for it: nothing else wakes it.
// Before Start and after Stop submissions fail at once too, and Stop answers every job still
// queued with no result.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "automation/ApartmentJob.h"

class ApartmentThread {
public:
    // Runs on the thread once it is in its apartment (entered tells whether entering
    // succeeded), before the first job: where what the jobs use is made.
    using Enter = std::function<void(bool entered)>;
    // Runs on the thread after the last job, still in the apartment: where that is let go.
    using Leave = std::function<void()>;

    ApartmentThread();
    ApartmentThread(const ApartmentThread&) = delete;
    ApartmentThread& operator=(const ApartmentThread&) = delete;
    // Stops the thread as Stop does, except that a thread stuck on a job whose submitter gave
    // up is not waited for: it finishes on its own (or the process ends it at exit), keeping
    // alive what it shares with its owner.
    ~ApartmentThread();

    // Launches the thread unless it runs; std::system_error when it cannot be created. The
    // hooks go with the thread, so they outlive the owner when the thread does.
    void Start(Enter enter, Leave leave);
    // Ends the thread after the job in progress and waits for it; std::system_error when
    // called on the thread itself.
    void Stop();

    // Jobs waiting for the thread, including abandoned ones it has not dropped yet.
    std::size_t QueuedJobs() const;
    // Whether the thread is stuck on a job whose submitter gave up.
    bool IsStuck() const;

    // The work's result, or none when the job was refused, dropped at Stop, or did not finish
    // within the bound (two bounds, when an acting call was under way at the first).
    // busyPatience: how long the work's calls may retry a busy server (from the moment it
    // begins); none: until the bound.
    template <typename Result>
    std::optional<Result> Run(std::function<Result()> work, std::chrono::milliseconds bound,
                              ApartmentJob::BusyPatience busyPatience = std::nullopt) {
        const ApartmentJob::Clock::time_point deadline = ApartmentJob::Clock::now() + bound;
        auto task =
            std::make_shared<ApartmentTask<Result>>(std::move(work), deadline, busyPatience);
        std::future<std::optional<Result>> result = task->ResultFuture();
        if (!Post(task)) {
            return std::nullopt;
        }
        if (result.wait_until(deadline) == std::future_status::ready) {
            return result.get();
        }
        if (task->Abandon()) {
            return std::nullopt;
        }
        // The work began an acting call (or the result came meanwhile): its result is waited for,
        // within one more bound for a server that hangs, unless the thread is being stopped.
        if ((IsHalted() || result.wait_until(deadline + bound) != std::future_status::ready) &&
            task->AbandonEvenActing()) {
            return std::nullopt;
        }
        return result.get();
    }

private:
    struct Shared;

    static void Serve(const std::shared_ptr<Shared>& shared, const Enter& enter,
                      const Leave& leave);
    bool Post(std::shared_ptr<ApartmentJob> job);
    // Stop has begun (or Start has not).
    bool IsHalted() const;
    // Stops taking jobs and answers the queued ones; true when the thread is stuck on a job
    // whose submitter gave up.
    bool Halt();

    std::shared_ptr<Shared> shared;
    std::thread thread;
};

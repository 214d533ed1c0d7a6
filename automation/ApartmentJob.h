// One piece of work posted to an ApartmentThread, and the slot its result travels back through.
//
// The submitter and the thread share ownership of the job, so the slot outlives whichever of
// the two lets go first: a submitter that gave up waiting may already be gone when the thread
// gets to its job.
//
// The job carries its submitter's deadline, so that the work, however many calls it makes,
// stops trying when the submitter stops waiting; and, where the submitter would rather have a
// quick failure than wait, how long a call a busy server turns away may be tried again from the
// moment the work begins (never past the deadline).
//
// Once the work has begun a call that may change what the server shows (an acting call), its
// submitter does not give up at the deadline but waits for the work's result: what the call did
// is what the submitter must report. Only a server that never answers is given up on.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <utility>

class ApartmentJob {
public:
    using Clock = std::chrono::steady_clock;

    // No busy patience: a busy call may be tried again until the deadline.
    using BusyPatience = std::optional<std::chrono::milliseconds>;

    ApartmentJob(Clock::time_point deadline, BusyPatience busyPatience)
        : deadline(deadline), busyPatience(busyPatience) {}
    ApartmentJob(const ApartmentJob&) = delete;
    ApartmentJob& operator=(const ApartmentJob&) = delete;
    virtual ~ApartmentJob() = default;

    // The thread claims a queued job; false when its submitter has given up on it.
    bool Begin() { return Advance(Stage::Queued, Stage::Running); }
    // Does the work (on the thread); the result waits for Deliver.
    virtual void Perform() = 0;
    // Hands the result over exactly once: what Perform made, or none for a job never
    // performed. Nothing happens for a job already finished or given up.
    void Deliver() {
        if (Advance(Stage::Running, Stage::Done) || Advance(Stage::Acted, Stage::Done) ||
            Advance(Stage::Queued, Stage::Done)) {
            HandOver();
        }
    }
    // The submitter gives up. False when the result was already delivered (or is being
    // delivered), which the submitter then takes instead, and once the work began an acting call.
    bool Abandon() {
        return Advance(Stage::Queued, Stage::Abandoned) ||
               Advance(Stage::Running, Stage::Abandoned);
    }
    // The submitter gives up even on work that began an acting call: the server hangs.
    bool AbandonEvenActing() {
        return Abandon() || Advance(Stage::Acting, Stage::Abandoned) ||
               Advance(Stage::Acted, Stage::Abandoned);
    }
    bool IsAbandoned() const { return stage.load() == Stage::Abandoned; }

    // The thread is being stopped: a submitter still waiting past its deadline (for an acting
    // call's outcome) is let go at once, with no result.
    void LetGoPastDeadline() {
        if (Clock::now() >= deadline && AbandonEvenActing()) {
            HandOverNothing();
        }
    }

    // The work is about to make an acting call; false when its submitter has given up.
    bool BeginActing() {
        return Advance(Stage::Running, Stage::Acting) || Advance(Stage::Acted, Stage::Acting);
    }
    // The acting call has returned. The job stays one that acted: its submitter waits for its
    // result, which says what the call did, however late the call returned.
    void EndActing() { Advance(Stage::Acting, Stage::Acted); }

    Clock::time_point Deadline() const { return deadline; }
    BusyPatience Patience() const { return busyPatience; }

private:
    enum class Stage { Queued, Running, Acting, Acted, Done, Abandoned };

    virtual void HandOver() = 0;
    virtual void HandOverNothing() = 0;
    bool Advance(Stage from, Stage to) { return stage.compare_exchange_strong(from, to); }

    const Clock::time_point deadline;
    const BusyPatience busyPatience;
    std::atomic<Stage> stage{Stage::Queued};
};

// A job whose work answers a Result; the submitter's future gives it, or none when the job was
// not performed.
template <typename Result>
class ApartmentTask final : public ApartmentJob {
public:
    ApartmentTask(std::function<Result()> work, Clock::time_point deadline,
                  BusyPatience busyPatience)
        : ApartmentJob(deadline, busyPatience), work(std::move(work)) {}

    std::future<std::optional<Result>> ResultFuture() { return slot.get_future(); }
    void Perform() override { result = work(); }

private:
    void HandOver() override { slot.set_value(std::move(result)); }
    void HandOverNothing() override { slot.set_value(std::nullopt); }

    std::function<Result()> work;
    std::optional<Result> result;
    std::promise<std::optional<Result>> slot;
};

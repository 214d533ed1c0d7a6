// One posted command and the slot its result travels back through.
//
// The submitter and the worker share ownership of the request, so the promise outlives
// whichever of the two lets go first: a submitter that gave up waiting may already be gone
// when the worker gets to its request.
#pragma once

#include <atomic>
#include <future>
#include <string>
#include <utility>

#include "automation/PowerPointCommand.h"
#include "automation/WorkerResult.h"

class WorkerRequest {
public:
    WorkerRequest(PowerPointCommand command, std::wstring argument)
        : command(command), argument(std::move(argument)) {}

    PowerPointCommand Command() const { return command; }
    const std::wstring& Argument() const { return argument; }
    std::future<WorkerResult> ResultFuture() { return resultSlot.get_future(); }

    // The worker claims a queued request; false when its submitter has given up on it.
    bool Begin() { return Advance(Stage::Queued, Stage::Running); }
    // Fulfils the promise exactly once; nothing happens for a request already finished.
    void Deliver(WorkerResult result) {
        if (Advance(Stage::Running, Stage::Done) || Advance(Stage::Queued, Stage::Done)) {
            resultSlot.set_value(std::move(result));
        }
    }
    // The submitter gives up. False when the result was already delivered (or is being
    // delivered), which the submitter then takes instead.
    bool Abandon() {
        return Advance(Stage::Queued, Stage::Abandoned) ||
               Advance(Stage::Running, Stage::Abandoned);
    }
    bool IsAbandoned() const { return stage.load() == Stage::Abandoned; }

private:
    enum class Stage { Queued, Running, Done, Abandoned };

    bool Advance(Stage from, Stage to) { return stage.compare_exchange_strong(from, to); }

    const PowerPointCommand command;
    const std::wstring argument;
    std::promise<WorkerResult> resultSlot;
    std::atomic<Stage> stage{Stage::Queued};
};

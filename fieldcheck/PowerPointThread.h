// The thread on which the field check talks to PowerPoint, in a COM apartment of its own (the
// plug-in's worker runs on the same kind of thread). A PowerPoint that stops answering (a
// dialog waiting for the user, say) then holds up only this thread: every wait for it is
// bounded, and the walk goes on without it.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "automation/ApartmentThread.h"
#include "fieldcheck/PowerPointDeck.h"

class PowerPointThread {
public:
    // Starts the thread, which reaches PowerPoint before it runs the first task.
    PowerPointThread();
    PowerPointThread(const PowerPointThread&) = delete;
    PowerPointThread& operator=(const PowerPointThread&) = delete;
    // Waits for the thread unless a task overran its time; such a thread is left to finish on
    // its own (the process ends it at exit).
    ~PowerPointThread() = default;

    // The task's result, or empty when it has not finished within the timeout (or could not
    // start: the thread is still stuck in a task that overran). Tasks run one after another;
    // the task must capture only what it owns.
    template <typename Result>
    std::optional<Result> Run(std::function<Result(PowerPointDeck&)> task,
                              std::chrono::milliseconds timeout) {
        return thread.Run<Result>([deck = deck, task = std::move(task)] { return task(**deck); },
                                  timeout);
    }

private:
    // Made and let go on the thread, and shared with it: a thread stuck in PowerPoint outlives
    // this object.
    std::shared_ptr<std::optional<PowerPointDeck>> deck;
    ApartmentThread thread;
};

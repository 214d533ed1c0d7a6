// The thread on which the field check talks to PowerPoint, in a COM apartment of its own. A
// PowerPoint that stops answering (a dialog waiting for the user, say) then holds up only this
// thread: every wait for it is bounded, and the walk goes on without it.
#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>

#include "fieldcheck/PowerPointDeck.h"

class PowerPointThread {
public:
    // Starts the thread, which reaches PowerPoint before it runs the first task.
    PowerPointThread();
    PowerPointThread(const PowerPointThread&) = delete;
    PowerPointThread& operator=(const PowerPointThread&) = delete;
    // Waits for the thread unless a task overran its time; such a thread is left to finish on
    // its own (the process ends it at exit).
    ~PowerPointThread();

    // The task's result, or empty when it has not finished within the timeout. Tasks run one
    // after another; the task must capture only what it owns.
    template <typename Result>
    std::optional<Result> Run(std::function<Result(PowerPointDeck&)> task,
                              std::chrono::milliseconds timeout) {
        auto promise = std::make_shared<std::promise<Result>>();
        std::future<Result> future = promise->get_future();
        Post([task = std::move(task), promise](PowerPointDeck& deck) {
            promise->set_value(task(deck));
        });
        if (future.wait_for(timeout) != std::future_status::ready) {
            overran = true;
            return std::nullopt;
        }
        return future.get();
    }

private:
    struct Shared;
    void Post(std::function<void(PowerPointDeck&)> task);

    std::shared_ptr<Shared> shared;
    bool overran = false;
};

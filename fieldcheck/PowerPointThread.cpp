#include "fieldcheck/PowerPointThread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/ComApartment.h"

// Shared with the thread, which may outlive the owner when a task overran.
struct PowerPointThread::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void(PowerPointDeck&)>> tasks;
    bool stopping = false;
    std::thread thread;
};

PowerPointThread::PowerPointThread() : shared(std::make_shared<Shared>()) {
    shared->thread = std::thread([state = shared] {
        const ComApartment apartment;
        PowerPointDeck deck;
        for (;;) {
            std::function<void(PowerPointDeck&)> task;
            {
                std::unique_lock<std::mutex> lock(state->mutex);
                state->wake.wait(lock,
                                 [&state] { return state->stopping || !state->tasks.empty(); });
                if (state->tasks.empty()) {
                    return;
                }
                task = std::move(state->tasks.front());
                state->tasks.pop_front();
            }
            task(deck);
        }
    });
}

PowerPointThread::~PowerPointThread() {
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->stopping = true;
        if (overran) {
            shared->tasks.clear();  // what waited behind the overrun is not wanted any more
        }
    }
    shared->wake.notify_one();
    if (overran) {
        shared->thread.detach();
    } else {
        shared->thread.join();
    }
}

void PowerPointThread::Post(std::function<void(PowerPointDeck&)> task) {
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->tasks.push_back(std::move(task));
    }
    shared->wake.notify_one();
}

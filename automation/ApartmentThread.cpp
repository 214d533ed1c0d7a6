#include "automation/ApartmentThread.h"

#include <deque>
#include <mutex>
#include <system_error>

#include "automation/CallBudget.h"
#include "automation/MessagePump.h"
#include "platform/ComApartment.h"
#include "platform/UniqueEvent.h"

// Shared with the thread, which may outlive its owner when it is stuck.
struct ApartmentThread::Shared {
    std::mutex mutex;
    // Set by every Post and by Halt; the thread waits on it and on its messages, and on nothing
    // else. Auto-reset, and a set before the wait is kept for it, so no job is ever missed.
    UniqueEvent wake;
    std::deque<std::shared_ptr<ApartmentJob>> queue;
    // The job being performed.
    std::shared_ptr<ApartmentJob> inProgress;
    bool running = false;

    bool Stuck() const { return inProgress && inProgress->IsAbandoned(); }

    // Blocks until a job is due or the thread is stopped (then none), dispatching the thread's
    // window messages as they come meanwhile: a thread in a single-threaded apartment must answer
    // what is sent to its windows while it idles. Jobs whose submitters have given up are
    // dropped unperformed.
    std::shared_ptr<ApartmentJob> Next() {
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (!running) {
                    return nullptr;
                }
                while (!queue.empty()) {
                    std::shared_ptr<ApartmentJob> job = std::move(queue.front());
                    queue.pop_front();
                    if (job->Begin()) {
                        inProgress = job;
                        return job;
                    }
                }
            }
            WaitForEventDispatching(wake.Get());
        }
    }

    void Finish() {
        std::lock_guard<std::mutex> lock(mutex);
        inProgress.reset();
    }
};

void ApartmentThread::Serve(const std::shared_ptr<Shared>& shared, const Enter& enter,
                            const Leave& leave) {
    const ComApartment apartment;
    enter(apartment.Entered());
    while (std::shared_ptr<ApartmentJob> job = shared->Next()) {
        {
            const CallBudget::Scope budget(*job);
            job->Perform();
        }
        // No longer in progress before its submitter hears of it, so that the submitter's next
        // job never finds this one still marked as running.
        shared->Finish();
        job->Deliver();
    }
    leave();
}

ApartmentThread::ApartmentThread() : shared(std::make_shared<Shared>()) {}

ApartmentThread::~ApartmentThread() {
    if (Halt()) {
        thread.detach();
    } else if (thread.joinable()) {
        thread.join();
    }
}

void ApartmentThread::Start(Enter enter, Leave leave) {
    std::lock_guard<std::mutex> lock(shared->mutex);
    if (shared->running) {
        return;
    }
    thread = std::thread([state = shared, enter = std::move(enter), leave = std::move(leave)] {
        Serve(state, enter, leave);
    });
    shared->running = true;
}

void ApartmentThread::Stop() {
    if (thread.joinable() && thread.get_id() == std::this_thread::get_id()) {
        throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur));
    }
    Halt();
    if (thread.joinable()) {
        thread.join();
    }
}

std::size_t ApartmentThread::QueuedJobs() const {
    std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->queue.size();
}

bool ApartmentThread::Post(std::shared_ptr<ApartmentJob> job) {
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        if (!shared->running || shared->Stuck()) {
            return false;
        }
        shared->queue.push_back(std::move(job));
    }
    shared->wake.Set();
    return true;
}

bool ApartmentThread::IsStuck() const {
    std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->Stuck();
}

bool ApartmentThread::IsHalted() const {
    std::lock_guard<std::mutex> lock(shared->mutex);
    return !shared->running;
}

bool ApartmentThread::Halt() {
    std::deque<std::shared_ptr<ApartmentJob>> unserved;
    std::shared_ptr<ApartmentJob> inProgress;
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->running = false;
        unserved.swap(shared->queue);
        inProgress = shared->inProgress;
    }
    shared->wake.Set();
    // Nobody is left waiting for a job that will never be performed, nor past a deadline for one
    // that is.
    for (const std::shared_ptr<ApartmentJob>& job : unserved) {
        job->Deliver();
    }
    if (inProgress) {
        inProgress->LetGoPastDeadline();
    }
    return inProgress && inProgress->IsAbandoned();
}

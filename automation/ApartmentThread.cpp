#include "automation/ApartmentThread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>

#include "automation/MessagePump.h"
#include "platform/ComApartment.h"

namespace {

// Jobs wake the thread at once through the condition variable; window messages wait at most
// this long (a few wake-ups a second while idle).
constexpr std::chrono::milliseconds kPumpInterval(50);

}  // namespace

// Shared with the thread, which may outlive its owner when it is stuck.
struct ApartmentThread::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<ApartmentJob>> queue;
    // The job being performed.
    std::shared_ptr<ApartmentJob> inProgress;
    bool running = false;
    // From Start until the enter hook has returned.
    bool entering = false;

    bool Stuck() const { return inProgress && inProgress->IsAbandoned(); }

    // Blocks until a job is due or the thread is stopped (then none), dispatching the thread's
    // window messages at least every kPumpInterval meanwhile: a thread in a single-threaded
    // apartment must answer what is sent to its windows while it idles. Jobs whose submitters
    // have given up are dropped unperformed.
    std::shared_ptr<ApartmentJob> Next() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            if (!wake.wait_for(lock, kPumpInterval,
                               [this] { return !queue.empty() || !running; })) {
                lock.unlock();
                DispatchWaitingMessages();
                lock.lock();
                continue;
            }
            if (!running) {
                return nullptr;
            }
            std::shared_ptr<ApartmentJob> job = std::move(queue.front());
            queue.pop_front();
            if (job->Begin()) {
                inProgress = job;
                return job;
            }
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
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->entering = false;
    }
    while (std::shared_ptr<ApartmentJob> job = shared->Next()) {
        job->Perform();
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
    shared->entering = true;
    try {
        thread = std::thread([state = shared, enter = std::move(enter), leave = std::move(leave)] {
            Serve(state, enter, leave);
        });
    } catch (...) {
        shared->entering = false;
        throw;
    }
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

bool ApartmentThread::IsEntering() const {
    std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->entering;
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
    shared->wake.notify_one();
    return true;
}

bool ApartmentThread::Halt() {
    std::deque<std::shared_ptr<ApartmentJob>> unserved;
    bool stuck = false;
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->running = false;
        unserved.swap(shared->queue);
        stuck = shared->Stuck();
    }
    shared->wake.notify_one();
    // Nobody is left waiting for a job that will never be performed.
    for (const std::shared_ptr<ApartmentJob>& job : unserved) {
        job->Deliver();
    }
    return stuck;
}

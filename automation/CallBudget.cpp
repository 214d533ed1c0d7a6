#include "automation/CallBudget.h"

#include <algorithm>
#include <optional>

#include "automation/ApartmentJob.h"
#include "automation/CommandBound.h"

namespace {

// A call that may change what the server shows begins at least this long before the submitter
// gives up, and so does the last try of a call a busy server turns away, so that its answer
// reaches the submitter in time: a slide never moves after the key showed its alert.
constexpr std::chrono::milliseconds kAnswerReserve(100);

thread_local std::optional<CallBudget> current;
thread_local std::optional<CallBudget> outsideAnyJob;

}  // namespace

CallBudget& CallBudget::Current() {
    if (current) {
        return *current;
    }
    const Clock::time_point now = Clock::now();
    const Clock::time_point end = now + kCommandBound;
    return outsideAnyJob.emplace(CallBudget(now, end, end, true, nullptr));
}

bool CallBudget::IsSpent() const {
    return job != nullptr && job->IsAbandoned();
}

bool CallBudget::WasTurnedAwayMostOfTheTime() const {
    return turnedAway * 2 >= retryUntil - began;
}

CallBudget::Scope::Scope(ApartmentJob& job) {
    const Clock::time_point now = Clock::now();
    const Clock::time_point actBy = job.Deadline() - kAnswerReserve;
    const ApartmentJob::BusyPatience patience = job.Patience();
    const Clock::time_point retryUntil = patience ? std::min(actBy, now + *patience) : actBy;
    current.emplace(CallBudget(now, retryUntil, actBy, !patience, &job));
}

CallBudget::Scope::~Scope() {
    current.reset();
}

CallBudget::ActingCall::ActingCall() : job(nullptr), begun(true) {
    if (!current) {
        return;
    }
    job = current->job;
    begun = Clock::now() <= current->actBy && job->BeginActing();
}

CallBudget::ActingCall::~ActingCall() {
    if (job != nullptr && begun) {
        job->EndActing();
    }
}

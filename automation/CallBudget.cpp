#include "automation/CallBudget.h"

#include <algorithm>
#include <optional>

#include "automation/ApartmentJob.h"
#include "automation/PressBound.h"

namespace {

// The last try of a call starts this long before the submitter gives up, so that its answer
// reaches the submitter in time: a slide never moves after the key showed its alert.
constexpr std::chrono::milliseconds kAnswerReserve(100);

thread_local std::optional<CallBudget> current;

}  // namespace

CallBudget CallBudget::Current() {
    if (current) {
        return *current;
    }
    return CallBudget(Clock::now() + kPressBound, true, nullptr);
}

bool CallBudget::IsSpent() const {
    return job != nullptr && job->IsAbandoned();
}

CallBudget::Scope::Scope(const ApartmentJob& job) {
    const Clock::time_point answerBy = job.Deadline() - kAnswerReserve;
    const ApartmentJob::BusyPatience patience = job.Patience();
    const Clock::time_point retryUntil =
        patience ? std::min(answerBy, Clock::now() + *patience) : answerBy;
    current.emplace(CallBudget(retryUntil, !patience, &job));
}

CallBudget::Scope::~Scope() {
    current.reset();
}

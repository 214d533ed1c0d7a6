// What the job in progress on an apartment thread allows the late-bound calls it makes: until
// when a call that a busy server turns away is tried again, and whether its submitter still waits
// at all. Every call of one job (a key press makes a dozen and more) shares one budget, so a press
// ends at its bound however many calls it makes, and a job whose submitter gave up makes no
// further call: a slide that moves after the key showed its alert would surprise the presenter.
#pragma once

#include <chrono>

class ApartmentJob;

class CallBudget {
public:
    using Clock = std::chrono::steady_clock;

    // The budget of the job in progress on the calling thread. Outside a job (a tool calling on a
    // thread of its own) a call may retry for one press bound from now.
    static CallBudget Current();

    // Whether the submitter has given up: no further call is made.
    bool IsSpent() const;
    // Retries of a busy call end here.
    Clock::time_point RetryUntil() const { return retryUntil; }
    // Whether the retries may use all the submitter's bound (a key press), rather than a short
    // patience of their own (a refresh read).
    bool CoversWholeBound() const { return wholeBound; }

    // Makes the job's budget the calling thread's while it lives; the job begins now.
    class Scope {
    public:
        explicit Scope(const ApartmentJob& job);
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope();
    };

private:
    CallBudget(Clock::time_point retryUntil, bool wholeBound, const ApartmentJob* job)
        : retryUntil(retryUntil), wholeBound(wholeBound), job(job) {}

    Clock::time_point retryUntil;
    bool wholeBound;
    const ApartmentJob* job;  // none outside a job
};

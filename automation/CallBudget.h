// What the job in progress on an apartment thread allows the late-bound calls it makes: until
// when a call that a busy server turns away is tried again, whether its submitter still waits at
// all, and until when a call that may change what the server shows may begin. Every call of one
// job (a key press makes a dozen and more) shares one budget, so a command ends at its bound
// however many calls it makes, and a job whose submitter gave up makes no further call: a slide
// that moves after the key showed its alert would surprise the presenter.
#pragma once

#include <chrono>

class ApartmentJob;

class CallBudget {
public:
    using Clock = std::chrono::steady_clock;

    // The budget of the job in progress on the calling thread. Outside a job (a tool calling on a
    // thread of its own) a call may retry for one command bound from now, and may always act.
    static CallBudget& Current();

    // Whether the submitter has given up: no further call is made.
    bool IsSpent() const;
    // Retries of a busy call end here.
    Clock::time_point RetryUntil() const { return retryUntil; }
    // Whether the retries may use all the submitter's bound (a key press), rather than a short
    // patience of their own (a refresh read).
    bool CoversWholeBound() const { return wholeBound; }

    // The job's calls were turned away by a busy server for `waited`.
    void CountTurnedAway(Clock::duration waited) { turnedAway += waited; }
    // Whether the job spent most of the time it had (from its beginning to the end of its
    // retries) being turned away.
    bool WasTurnedAwayMostOfTheTime() const;

    // Makes the job's budget the calling thread's while it lives; the job begins now.
    class Scope {
    public:
        explicit Scope(ApartmentJob& job);
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope();
    };

    // Brackets a call that may change what the server shows (an acting call) on the calling
    // thread. It may begin only while the submitter still waits and its answer can still reach
    // the submitter in time: no later than the deadline less the answer reserve. Once begun, the
    // submitter waits for its outcome, past the deadline if need be. Outside a job it always
    // begins.
    class ActingCall {
    public:
        ActingCall();
        ActingCall(const ActingCall&) = delete;
        ActingCall& operator=(const ActingCall&) = delete;
        ~ActingCall();
        bool Begun() const { return begun; }

    private:
        ApartmentJob* job;
        bool begun;
    };

    // Runs `act` (a call that may change what the server shows, made other than through
    // InvokeByName) as an acting call: false, without running it, when it may no longer begin.
    template <typename Act>
    static bool ActInTime(const Act& act) {
        const ActingCall acting;
        return acting.Begun() && act();
    }

private:
    CallBudget(Clock::time_point began, Clock::time_point retryUntil, Clock::time_point actBy,
               bool wholeBound, ApartmentJob* job)
        : began(began), retryUntil(retryUntil), actBy(actBy), wholeBound(wholeBound), job(job) {}

    Clock::time_point began;
    Clock::time_point retryUntil;
    Clock::time_point actBy;
    bool wholeBound;
    ApartmentJob* job;  // none outside a job
    Clock::duration turnedAway{0};
};

// The PowerPointWorker thread and its command channel. The thread owns the COM apartment and
// the reference to PowerPoint's application object; other threads post commands and wait for
// typed results. Requests are served one at a time, in posting order; between them the thread
// dispatches its window messages.
//
// The reference is taken when the worker starts. A command that finds PowerPoint gone lets it
// go; the next command attaches to a running PowerPoint, and only opening a presentation starts
// one. A PowerPoint whose class is not registered is reported once, at start.
//
// A submitter waits at most waitBound for one command, and the command keeps to it: a busy
// PowerPoint is asked again only until then, a command whose submitter gave up makes no further
// call, and a call that may change what PowerPoint shows (next, open, run, a frame raised) begins
// only while its outcome can still reach the submitter in time; one that began is waited for, so
// that the result is what it did. One that gives up receives its command's failure result: a late
// "next slide" would surprise the presenter more than a missed one. A refresh read asks a busy
// PowerPoint again for a short while only (Patience::Refresh). While the worker is stuck on a
// request whose submitter gave up, new submissions fail at once, so a hung PowerPoint costs each
// key press at most one bound; once a command has found PowerPoint turning its calls away for its
// whole bound, calls it turns away fail at once until one goes through. After Stop (and before
// Start) submissions fail at once too, and Stop hands every request still queued its failure
// result.
//
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/ApartmentThread.h"
#include "automation/CommandBound.h"
#include "automation/PowerPointActivation.h"
#include "automation/PowerPointCommand.h"
#include "automation/WorkerResult.h"
#include "platform/DispatchPtr.h"

class AutomationWorker {
public:
    // How long a command may keep asking a busy PowerPoint.
    enum class Patience {
        Press,    // the whole of the submitter's bound
        Refresh,  // a short while: the next refresh comes soon, and presses must not wait
    };

    explicit AutomationWorker(std::chrono::milliseconds waitBound = kCommandBound);
    // Stops the worker, waiting for the command in progress.
    ~AutomationWorker();
    AutomationWorker(const AutomationWorker&) = delete;
    AutomationWorker& operator=(const AutomationWorker&) = delete;

    // Launches the worker thread unless it runs; std::system_error when it cannot be created.
    void Start();
    // Ends the worker after the command in progress; std::system_error when called from the
    // worker thread itself.
    void Stop();

    // Each raises std::bad_variant_access when the command answers another type: SubmitBool
    // is for codes 0 to 8, SubmitInt for 10 and 11 (and codes outside the set).
    bool SubmitBool(PowerPointCommand command, const std::wstring& argument,
                    Patience patience = Patience::Press);
    std::int32_t SubmitInt(PowerPointCommand command, const std::wstring& argument,
                           Patience patience = Patience::Press);
    std::wstring SubmitString(const std::wstring& argument, Patience patience = Patience::Press);
    std::vector<std::wstring> SubmitList(const std::wstring& argument,
                                         Patience patience = Patience::Press);

    // Whether the show of `path` (or any) runs; none when PowerPoint did not answer (it turned
    // the reads away, or they were not made in time), which is not the same as "no show".
    std::optional<bool> SubmitShowRunning(const std::wstring& path);

    // What the keys show: the open presentations; whether the show of `currentPresentation` (or
    // any) runs, and then its slide and slide count, or else the active presentation. Each part
    // is none when PowerPoint did not answer one of its reads: the keys then keep what they show.
    struct ShowReading {
        bool running = false;
        std::int32_t slide = -1;
        std::int32_t count = -1;
        std::wstring active;
    };
    struct KeyReading {
        std::optional<std::vector<std::wstring>> presentations;
        std::optional<ShowReading> show;
    };
    // The refresh's reads in that order as one request, with Patience::Refresh: one hand-over to
    // the worker thread and back instead of one per read, for every refresh and after every
    // press.
    KeyReading SubmitKeyReading(const std::wstring& currentPresentation);

    // Whether the worker is in the middle of COM's activation of PowerPoint (which may be
    // starting it), at start or for a later command. The PowerPoint-not-registered box is not
    // part of it.
    bool IsStartingPowerPoint() const;
    // Whether the worker is stuck on a request whose submitter gave up: it ends that request only
    // when PowerPoint answers.
    bool IsStuck() const;

    // Requests waiting for the worker, including abandoned ones it has not dropped yet. Lets a
    // test know that its submissions have queued instead of guessing how long that takes.
    std::size_t QueuedRequests() const;

private:
    // A command's result, and whether PowerPoint answered every call it made.
    struct Performed {
        WorkerResult result;
        bool answered = true;
    };

    WorkerResult Submit(PowerPointCommand command, const std::wstring& argument, Patience patience);
    KeyReading ReadKeys(const std::wstring& currentPresentation);
    Performed Perform(PowerPointCommand command, const std::wstring& argument, Patience patience);
    // The command's result when PowerPoint answered it, as a `Value`.
    template <typename Value>
    std::optional<Value> PerformAnswered(PowerPointCommand command, const std::wstring& argument,
                                         Patience patience);
    void ConnectToPowerPoint();
    void NoteReach(HRESULT creation);

    const std::chrono::milliseconds waitBound;
    // Made, used and released on the worker thread only; Stop waits for that thread, so the
    // thread never outlives this object.
    DispatchPtr application;
    // PowerPoint's class, once its ProgID lookup succeeded: what a lost reference is taken
    // again by. Worker thread only, as the reference.
    std::optional<CLSID> powerPointClass;
    // PowerPoint's frame shows, but activation was refused (PowerPoint still starting or showing
    // a dialog, or running at another integrity level). Worker thread only.
    bool joinRefused = false;
    PowerPointStarts starts;
    ApartmentThread worker;
};

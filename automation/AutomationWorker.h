// The PowerPointWorker thread and its command channel. The thread owns the COM apartment and
// the reference to PowerPoint's application object; other threads post commands and wait for
// typed results. Requests are served one at a time, in posting order; between them the thread
// dispatches its window messages.
//
// The reference is taken when the worker starts. A command that finds PowerPoint gone lets it
// go; the next command attaches to a running PowerPoint, and only opening a presentation starts
// one. A PowerPoint whose class is not registered is reported once, at start.
//
// A submitter waits at most waitBound. One that gives up receives its command's failure result
// and its request is dropped unless already running: a late "next slide" would surprise the
// presenter more than a missed one. While the worker is stuck on a request whose submitter gave
// up, new submissions fail at once, so a hung PowerPoint costs each key press at most one
// bound. After Stop (and before Start) submissions fail at once too, and Stop hands every
// request still queued its failure result.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/ApartmentThread.h"
#include "automation/PowerPointCommand.h"
#include "automation/WorkerResult.h"
#include "platform/DispatchPtr.h"

class AutomationWorker {
public:
    explicit AutomationWorker(
        std::chrono::milliseconds waitBound = std::chrono::milliseconds(5000));
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
    bool SubmitBool(PowerPointCommand command, const std::wstring& argument);
    std::int32_t SubmitInt(PowerPointCommand command, const std::wstring& argument);
    std::wstring SubmitString(const std::wstring& argument);
    std::vector<std::wstring> SubmitList(const std::wstring& argument);

    // Whether the worker is still starting PowerPoint: from Start until COM's activation of
    // PowerPoint has returned, whatever its outcome.
    bool IsStartingPowerPoint() const;

    // Requests waiting for the worker, including abandoned ones it has not dropped yet. Lets a
    // test know that its submissions have queued instead of guessing how long that takes.
    std::size_t QueuedRequests() const;

private:
    WorkerResult Submit(PowerPointCommand command, const std::wstring& argument);
    WorkerResult Perform(PowerPointCommand command, const std::wstring& argument);

    const std::chrono::milliseconds waitBound;
    // Made, used and released on the worker thread only; Stop waits for that thread, so the
    // thread never outlives this object.
    DispatchPtr application;
    // PowerPoint's class, once its ProgID lookup succeeded: what a lost reference is taken
    // again by. Worker thread only, as the reference.
    std::optional<CLSID> powerPointClass;
    ApartmentThread worker;
};

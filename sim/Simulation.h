// The process-wide simulated PowerPoint: one running instance at a time, started from a
// scenario on activation, ended when its last frame closes or when a test resets it. Every
// member call of every object goes through here, under one lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/ModelState.h"
#include "sim/ObjectRef.h"
#include "sim/RunningObject.h"
#include "sim/Scenario.h"
#include "sim/SimulationControl.h"

namespace pptsim {

class Simulation {
public:
    static Simulation& Instance();

    bool IsRegistered();
    HRESULT Activate(IDispatch** application);

    // S_OK while the instance runs; afterwards what a call on one of its objects fails with:
    // RPC_S_SERVER_UNAVAILABLE once that PowerPoint has quit, RPC_E_DISCONNECTED after a reset.
    HRESULT Connection(std::uint64_t instance);
    HRESULT Invoke(const ObjectRef& target, DISPID member, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception);

    // Ends the running instance (its objects disconnect, waiting calls end) and, given a
    // scenario, starts a new one from it; the same scenario also serves later activations.
    void Reset(std::optional<Scenario> scenario);
    // Ends the running instance's hang ("delayMs") without ending the instance.
    void EndDelay();
    // Every automation object a client held is released. A PowerPoint that shows no window
    // (it hid when its last frame closed) has nothing left to stay for, and quits.
    void LastClientLetGo();
    SimulationState ReadState();
    std::vector<std::string> TraceLines();
    void ClearTrace();

private:
    Simulation() = default;
    // activated: started by a client's activation (traced), not set up by a test's reset.
    void StartLocked(const Scenario& scenario, FrameChanges& frames, bool activated);
    // quits: PowerPoint ended by itself (its last frame closed; traced), so its objects fail as
    // those of a process that is gone, and a new start opens nothing; otherwise a reset.
    void StopLocked(FrameChanges& frames, bool quits);
    HRESULT ConnectionLocked(std::uint64_t objectInstance) const;
    HRESULT RejectIfBusyLocked(const ObjectRef& target, const std::wstring& member);
    void FrameClosed(std::uint64_t instance, std::uint64_t presentationId);
    // Asks the save prompt for a presentation with unsaved changes; false when the close was
    // cancelled or overtaken.
    bool ConfirmClose(std::uint64_t frameInstance, std::uint64_t presentationId);
    void FrameRaised(std::uint64_t instance, std::uint64_t presentationId);
    void ApplyFrameChanges(const FrameChanges& frames, std::uint64_t instance);
    void TraceLocked(const std::string& line);

    std::mutex mutex;
    std::condition_variable stopped;  // wakes member calls that wait out "delayMs"
    bool delayEnded = false;
    ModelState state;
    bool running = false;
    std::uint64_t instance = 0;
    std::optional<Scenario> pinned;  // a test's scenario, used instead of PPTSIM_SCENARIO
    std::optional<Scenario> staged;  // read for the ProgID lookup, used by the next activation
    std::vector<std::string> trace;
    std::ofstream traceFile;
    std::map<std::string, int> rejectsLeft;  // per member name, for the running instance
    bool quitBefore = false;                 // since the last reset
    std::set<std::uint64_t> quitInstances;
    std::set<std::uint64_t> unsaved;    // presentation ids with unsaved changes
    std::set<std::uint64_t> prompting;  // presentation ids whose save prompt is open
    RunningObject runningObject;
};

}  // namespace pptsim

// The process-wide simulated PowerPoint: one running instance at a time, started from a
// scenario on activation, ended when its last frame closes or when a test resets it. Every
// member call of every object goes through here, under one lock. Split by topic: its life
// (Simulation.cpp), member calls with busy and hanging PowerPoints (Simulation_Calls.cpp), frames
// and save prompts (Simulation_Frames.cpp) and the trace (Simulation_Trace.cpp).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/ModelState.h"
#include "sim/ObjectMembers.h"
#include "sim/ObjectRef.h"
#include "sim/RunningObject.h"
#include "sim/Scenario.h"
#include "sim/SimulationControl.h"

namespace pptsim {

class Simulation {
public:
    static Simulation& Instance();

    bool IsRegistered();
    // Whether the scenario's PowerPoint registers in the running object table ("rot").
    bool RegistersRunningObject();
    HRESULT Activate(IDispatch** application);
    // After PowerPoint exits, "restart" starts it again: natively from a thread of this process
    // after the time, or through the launcher when one is set (a new process calls Restart).
    void SetRestartLauncher(std::function<void(int afterMs)> launcher);
    bool Restart();

    // S_OK while the object's PowerPoint runs and the object still stands for something;
    // otherwise what a call on it fails with: RPC_S_SERVER_UNAVAILABLE once that PowerPoint has
    // quit, RPC_E_DISCONNECTED after a reset or once PowerPoint has disconnected the object
    // (its presentation closed, its show ended) while it keeps running.
    HRESULT Connection(const ObjectRef& target);
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
    enum class StartKind {
        Reset,       // set up by a test: the scenario as it is
        Activation,  // by a client's activation (traced); after a quit, with nothing open
        Restart,     // by itself after it exited, with the scenario's "restart" decks (traced)
    };
    // Runs change(lock, frames) with the lock held, then makes the frame changes it asked for
    // with the lock released (a frame's window calls back into the simulation). change returns
    // whether it went ahead: the instance running then, or none when it did not.
    template <typename Change>
    std::optional<std::uint64_t> ChangeWithFrames(Change change);
    void StartLocked(const Scenario& scenario, FrameChanges& frames, StartKind kind);
    // The scenario staged for the next activation, read from the environment once.
    const Scenario& StagedLocked();
    void ScheduleRestartLocked();
    void RestartAfter(const Scenario& scenario, std::uint64_t generation);
    // quits: PowerPoint ended by itself (its last frame closed; traced), so its objects fail as
    // those of a process that is gone, and a new start opens nothing; otherwise a reset.
    void StopLocked(FrameChanges& frames, bool quits);
    HRESULT ConnectionLocked(const ObjectRef& target);
    HRESULT RejectIfBusyLocked(const ObjectRef& target, const std::wstring& member);
    void FrameClosed(std::uint64_t instance, std::uint64_t presentationId);
    // Asks the save prompt for a presentation with unsaved changes; false when the close was
    // cancelled or overtaken.
    bool ConfirmClose(std::uint64_t frameInstance, std::uint64_t presentationId);
    void FrameRaised(std::uint64_t instance, std::uint64_t presentationId);
    // The frame shows another PpWindowState (someone else minimised or restored it).
    void FrameShown(std::uint64_t instance, std::uint64_t presentationId, int windowState);
    // The presentation's window takes the state; leaving the minimised one is traced as a
    // restore. Its frame, which is to show the state (none for a deck without one).
    HWND SetWindowStateLocked(OpenPresentation& presentation, int windowState);
    void ApplyFrameChanges(const FrameChanges& frames, std::uint64_t instance);
    void TraceLocked(const std::string& line);
    void TraceCallLocked(const ObjectRef& target, const Member& member, bool put,
                         const std::vector<const VARIANT*>& arguments);
    // Whether a PowerPoint has quit before, as the trace file records across processes.
    static bool TraceFileShowsAQuit(const char* tracePath);

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
    // The members of "rejectFor" whose first call has come, each opening a busy spell, and when
    // the last spell ends: until then every call is turned away, as a dialog makes PowerPoint do.
    std::set<std::string> busySpellsOpened;
    std::chrono::steady_clock::time_point busyUntil;
    bool quitBefore = false;   // since the last reset
    std::uint64_t resets = 0;  // ends a restart still waiting to happen
    std::function<void(int afterMs)> restartLauncher;
    std::set<std::uint64_t> quitInstances;
    std::set<std::uint64_t> unsaved;    // presentation ids with unsaved changes
    std::set<std::uint64_t> prompting;  // presentation ids whose save prompt is open
    RunningObject runningObject;
};

}  // namespace pptsim

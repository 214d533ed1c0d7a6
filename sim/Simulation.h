// The process-wide simulated PowerPoint: one running instance at a time, started from a
// scenario on activation, ended when its last frame closes or when a test resets it. Every
// member call of every object goes through here, under one lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/ModelState.h"
#include "sim/ObjectRef.h"
#include "sim/Scenario.h"
#include "sim/SimulationControl.h"

namespace pptsim {

class Simulation {
public:
    static Simulation& Instance();

    bool IsRegistered();
    HRESULT Activate(IDispatch** application);

    bool IsConnected(std::uint64_t instance);
    HRESULT Invoke(const ObjectRef& target, DISPID member, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception);

    // Ends the running instance (its objects disconnect, waiting calls end) and, given a
    // scenario, starts a new one from it; the same scenario also serves later activations.
    void Reset(std::optional<Scenario> scenario);
    SimulationState ReadState();
    std::vector<std::string> TraceLines();
    void ClearTrace();

private:
    Simulation() = default;
    void StartLocked(const Scenario& scenario, FrameChanges& frames);
    void StopLocked(FrameChanges& frames);
    void FrameClosed(std::uint64_t instance, std::uint64_t presentationId);
    void FrameRaised(std::uint64_t instance, std::uint64_t presentationId);
    void ApplyFrameChanges(const FrameChanges& frames, std::uint64_t instance);
    void TraceLocked(const std::string& line);

    std::mutex mutex;
    std::condition_variable stopped;  // wakes member calls that wait out "delayMs"
    ModelState state;
    bool running = false;
    std::uint64_t instance = 0;
    std::optional<Scenario> pinned;  // a test's scenario, used instead of PPTSIM_SCENARIO
    std::optional<Scenario> staged;  // read for the ProgID lookup, used by the next activation
    std::vector<std::string> trace;
    std::ofstream traceFile;
};

}  // namespace pptsim

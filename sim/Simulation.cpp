// The simulated PowerPoint's life: activation, starting it from a scenario, quitting or being
// reset, what its objects find once it has gone, and the entry points for activation and tests.
#include "sim/Simulation.h"

#include <cstdlib>

#include "sim/SimObject.h"
#include "sim/SimulationActivation.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

// A PowerPoint started again after one quit opens nothing of what was open at first.
Scenario AsRelaunched(Scenario scenario) {
    scenario.open.clear();
    scenario.active.reset();
    scenario.shows.clear();
    scenario.unsaved.clear();
    return scenario;
}

}  // namespace

Simulation& Simulation::Instance() {
    // Never destroyed: the plug-in's worker may still be calling in while the process exits.
    static Simulation* const simulation = new Simulation();
    return *simulation;
}

bool Simulation::IsRegistered() {
    std::lock_guard<std::mutex> lock(mutex);
    if (running) {
        return state.Setup().registered;
    }
    if (pinned) {
        return pinned->registered;
    }
    staged = LoadScenarioFromEnvironment();
    return staged->registered;
}

HRESULT Simulation::Activate(IDispatch** application) {
    if (application == nullptr) {
        return E_POINTER;
    }
    *application = nullptr;
    FrameChanges frames;
    std::uint64_t current = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!running) {
            Scenario scenario = staged   ? std::move(*staged)
                                : pinned ? *pinned
                                         : LoadScenarioFromEnvironment();
            staged.reset();
            if (!scenario.available) {
                return CO_E_SERVER_EXEC_FAILURE;
            }
            StartLocked(scenario, frames, true);
        }
        current = instance;
    }
    ApplyFrameChanges(frames, current);
    *application = SimObject::Create({ObjectKind::Application, current});
    return S_OK;
}

HRESULT Simulation::Connection(const ObjectRef& target) {
    std::lock_guard<std::mutex> lock(mutex);
    return ConnectionLocked(target);
}

HRESULT Simulation::ConnectionLocked(const ObjectRef& target) {
    if (!running || target.instance != instance) {
        return quitInstances.count(target.instance) != 0
                   ? HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)
                   : RPC_E_DISCONNECTED;
    }
    // PowerPoint disconnects the objects of a presentation it closes and of a show that ends
    // (CoDisconnectObject), so calls on them fail in COM and never reach PowerPoint.
    const bool gone =
        (target.presentationId != 0 && !state.FindPresentation(target.presentationId)) ||
        (target.showId != 0 && !state.FindShow(target.showId));
    return gone ? RPC_E_DISCONNECTED : S_OK;
}

void Simulation::Reset(std::optional<Scenario> scenario) {
    FrameChanges frames;
    std::uint64_t current = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        StopLocked(frames, false);
        quitBefore = false;
        pinned = std::move(scenario);
        staged.reset();
        trace.clear();
        if (pinned && pinned->available) {
            StartLocked(*pinned, frames, false);
        }
        current = instance;
    }
    ApplyFrameChanges(frames, current);
}

SimulationState Simulation::ReadState() {
    std::lock_guard<std::mutex> lock(mutex);
    SimulationState snapshot;
    snapshot.running = running;
    for (const OpenPresentation& presentation : state.Presentations()) {
        snapshot.open.push_back(
            {presentation.fullName, presentation.SlideCount(), presentation.frame});
    }
    if (const OpenPresentation* active = state.ActivePresentation()) {
        snapshot.active = active->fullName;
    }
    for (const RunningShow& show : state.Shows()) {
        snapshot.shows.push_back(
            {state.FindPresentation(show.presentationId)->fullName, show.slide, show.ended});
    }
    return snapshot;
}

void Simulation::StartLocked(const Scenario& scenario, FrameChanges& frames, bool activated) {
    ++instance;
    running = true;
    delayEnded = false;
    const char* tracePath = std::getenv("PPTSIM_TRACE");
    const bool traced = tracePath != nullptr && *tracePath != '\0';
    const bool relaunched = quitBefore || (traced && TraceFileShowsAQuit(tracePath));
    state.Start(relaunched ? AsRelaunched(scenario) : scenario, frames);
    if (traced) {
        traceFile.open(tracePath, std::ios::app | std::ios::binary);
    }
    rejectsLeft = scenario.reject;
    rejectingUntil.clear();
    unsaved.clear();
    prompting.clear();
    for (const OpenPresentation& presentation : state.Presentations()) {
        if (state.Setup().unsaved.count(presentation.fullName) != 0) {
            unsaved.insert(presentation.id);
        }
    }
    if (activated) {
        TraceLocked("start PowerPoint");
    }
    runningObject.Register(instance);
}

void Simulation::StopLocked(FrameChanges& frames, bool quits) {
    if (!running) {
        return;
    }
    running = false;
    if (quits) {
        TraceLocked("exit PowerPoint");
        quitBefore = true;
        quitInstances.insert(instance);
    }
    runningObject.Revoke();
    state.Stop(frames);
    traceFile.close();
    traceFile.clear();
    stopped.notify_all();
}

// ---- The entry points for activation and for tests --------------------------------------------

bool IsApplicationRegistered() {
    return Simulation::Instance().IsRegistered();
}

HRESULT ActivateApplication(IDispatch** application) {
    return Simulation::Instance().Activate(application);
}

void ResetSimulation(const std::string& scenarioJson) {
    Simulation::Instance().Reset(ParseScenario(scenarioJson));
}

void ShutDownSimulation() {
    Simulation::Instance().Reset(std::nullopt);
}

void EndSimulationDelay() {
    Simulation::Instance().EndDelay();
}

SimulationState ReadSimulationState() {
    return Simulation::Instance().ReadState();
}

std::vector<std::string> SimulationTrace() {
    return Simulation::Instance().TraceLines();
}

void ClearSimulationTrace() {
    Simulation::Instance().ClearTrace();
}

long LiveSimulationObjects() {
    return SimObject::LiveCount();
}

}  // namespace pptsim

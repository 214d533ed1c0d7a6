// The simulated PowerPoint's life: activation, starting it from a scenario, quitting or being
// reset, what its objects find once it has gone, and the entry points for activation and tests.
#include "sim/Simulation.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "sim/SimObject.h"
#include "sim/SimulationActivation.h"
#include "sim/SyncRootPublishing.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

// A PowerPoint started again after one quit opens nothing of what was open at first, and the
// restart belonged to that quit.
Scenario AsRelaunched(Scenario scenario) {
    scenario.open.clear();
    scenario.protectedView.clear();
    scenario.active.reset();
    scenario.shows.clear();
    scenario.unsaved.clear();
    scenario.minimized.clear();
    scenario.restart.reset();
    return scenario;
}

// PowerPoint started by the presenter after it exited: the restart's decks open, once.
Scenario AsRestarted(Scenario scenario) {
    ScenarioRestart restart = scenario.restart.value_or(ScenarioRestart{});
    scenario.open = std::move(restart.open);
    scenario.protectedView.clear();
    scenario.active = std::move(restart.active);
    scenario.shows = std::move(restart.shows);
    scenario.unsaved.clear();
    scenario.minimized.clear();
    scenario.restart.reset();
    return scenario;
}

}  // namespace

template <typename Change>
std::optional<std::uint64_t> Simulation::ChangeWithFrames(Change change) {
    FrameChanges frames;
    std::uint64_t current = 0;
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (!change(lock, frames)) {
            return std::nullopt;
        }
        current = instance;
    }
    ApplyFrameChanges(frames, current);
    return current;
}

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

bool Simulation::RegistersRunningObject() {
    std::lock_guard<std::mutex> lock(mutex);
    return running ? state.Setup().rot : StagedLocked().rot;
}

const Scenario& Simulation::StagedLocked() {
    if (pinned) {
        return *pinned;
    }
    if (!staged) {
        staged = LoadScenarioFromEnvironment();
    }
    return *staged;
}

HRESULT Simulation::Activate(IDispatch** application) {
    if (application == nullptr) {
        return E_POINTER;
    }
    *application = nullptr;
    const std::optional<std::uint64_t> current =
        ChangeWithFrames([this](auto&, FrameChanges& frames) {
            if (!running) {
                Scenario scenario = staged   ? std::move(*staged)
                                    : pinned ? *pinned
                                             : LoadScenarioFromEnvironment();
                staged.reset();
                if (!scenario.available) {
                    return false;
                }
                StartLocked(scenario, frames, StartKind::Activation);
            }
            return true;
        });
    if (!current) {
        return CO_E_SERVER_EXEC_FAILURE;
    }
    *application = SimObject::Create({ObjectKind::Application, *current});
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
    // PowerPoint disconnects the objects of a presentation it closes, of a show that ends, of a
    // Protected View window that closes for editing (CoDisconnectObject), so calls on them fail
    // in COM and never reach PowerPoint.
    const OpenPresentation* presentation =
        target.presentationId != 0 ? state.FindPresentation(target.presentationId) : nullptr;
    const bool gone = (target.presentationId != 0 && presentation == nullptr) ||
                      (target.showId != 0 && state.FindShow(target.showId) == nullptr) ||
                      (target.slideId != 0 && presentation != nullptr &&
                       presentation->PositionOf(target.slideId) == 0) ||
                      (target.kind == ObjectKind::ProtectedViewWindow && presentation != nullptr &&
                       !presentation->protectedView);
    return gone ? RPC_E_DISCONNECTED : S_OK;
}

void Simulation::Reset(std::optional<Scenario> scenario) {
    ChangeWithFrames([this, &scenario](auto&, FrameChanges& frames) {
        StopLocked(frames, false);
        quitBefore = false;
        ++resets;
        stopped.notify_all();
        pinned = std::move(scenario);
        staged.reset();
        trace.clear();
        if (pinned && pinned->available) {
            StartLocked(*pinned, frames, StartKind::Reset);
        }
        return true;
    });
}

void Simulation::LastClientLetGo() {
    ChangeWithFrames([this](auto&, FrameChanges& frames) {
        if (!running || state.AnyOpen()) {
            return false;
        }
        StopLocked(frames, true);
        return true;
    });
}

SimulationState Simulation::ReadState() {
    std::lock_guard<std::mutex> lock(mutex);
    SimulationState snapshot;
    snapshot.running = running;
    for (const OpenPresentation& presentation : state.Presentations()) {
        snapshot.open.push_back({presentation.fullName, presentation.SlideCount(),
                                 presentation.frame, presentation.protectedView,
                                 presentation.windowState});
    }
    if (const OpenPresentation* active = state.ActivePresentation()) {
        snapshot.active = active->fullName;
    }
    for (const RunningShow& show : state.Shows()) {
        snapshot.shows.push_back({state.FindPresentation(show.presentationId)->fullName, show.slide,
                                  show.ended, show.click, show.namedShow});
    }
    return snapshot;
}

void Simulation::StartLocked(const Scenario& scenario, FrameChanges& frames, StartKind kind) {
    ++instance;
    running = true;
    delayEnded = false;
    const char* tracePath = std::getenv("PPTSIM_TRACE");
    const bool traced = tracePath != nullptr && *tracePath != '\0';
    if (kind == StartKind::Restart) {
        state.Start(AsRestarted(scenario), frames);
    } else if (quitBefore || (traced && TraceFileShowsAQuit(tracePath))) {
        state.Start(AsRelaunched(scenario), frames);
    } else {
        state.Start(scenario, frames);
    }
    PublishSyncRoots(scenario.syncRoots);
    if (traced) {
        traceFile.open(tracePath, std::ios::app | std::ios::binary);
    }
    rejectsLeft = scenario.reject;
    busySpellsOpened.clear();
    busyUntil = {};
    unsaved.clear();
    prompting.clear();
    for (const OpenPresentation& presentation : state.Presentations()) {
        if (state.Setup().unsaved.count(presentation.path) != 0) {
            unsaved.insert(presentation.id);
        }
    }
    if (kind == StartKind::Activation) {
        TraceLocked("start PowerPoint");
    } else if (kind == StartKind::Restart) {
        TraceLocked("restart PowerPoint");
    }
    if (state.Setup().rot) {
        runningObject.Register(instance);
    }
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
    if (quits) {
        ScheduleRestartLocked();
    }
}

// ---- PowerPoint started again by the presenter ("restart") ----------------------------------

void Simulation::SetRestartLauncher(std::function<void(int afterMs)> launcher) {
    std::lock_guard<std::mutex> lock(mutex);
    restartLauncher = std::move(launcher);
}

void Simulation::ScheduleRestartLocked() {
    const std::optional<ScenarioRestart>& restart = state.Setup().restart;
    if (!restart) {
        return;
    }
    if (restartLauncher) {
        restartLauncher(restart->afterMs);
        return;
    }
    // The thread holds nothing of the simulation's but its never-destroyed instance.
    std::thread([this, scenario = state.Setup(), generation = resets] {
        RestartAfter(scenario, generation);
    }).detach();
}

// A reset while the restart waits ends the wait and the restart; a PowerPoint that a client
// started meanwhile is the one the presenter finds running.
void Simulation::RestartAfter(const Scenario& scenario, std::uint64_t generation) {
    ChangeWithFrames([&](std::unique_lock<std::mutex>& lock, FrameChanges& frames) {
        const bool cancelled =
            stopped.wait_for(lock, std::chrono::milliseconds(scenario.restart->afterMs),
                             [this, generation] { return resets != generation; });
        if (cancelled || running) {
            return false;
        }
        StartLocked(scenario, frames, StartKind::Restart);
        return true;
    });
}

bool Simulation::Restart() {
    const std::optional<std::uint64_t> started =
        ChangeWithFrames([this](auto&, FrameChanges& frames) {
            const Scenario& scenario = StagedLocked();
            if (running || !scenario.restart || !scenario.available) {
                return false;
            }
            StartLocked(scenario, frames, StartKind::Restart);
            staged.reset();
            return true;
        });
    return started.has_value();
}

// ---- The entry points for activation and for tests --------------------------------------------

bool IsApplicationRegistered() {
    return Simulation::Instance().IsRegistered();
}

HRESULT ActivateApplication(IDispatch** application) {
    return Simulation::Instance().Activate(application);
}

bool RegistersRunningObject() {
    return Simulation::Instance().RegistersRunningObject();
}

void SetRestartLauncher(std::function<void(int afterMs)> launcher) {
    Simulation::Instance().SetRestartLauncher(std::move(launcher));
}

bool RestartApplication() {
    return Simulation::Instance().Restart();
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

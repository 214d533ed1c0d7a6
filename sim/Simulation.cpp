#include "sim/Simulation.h"

#include <chrono>
#include <cstdlib>

#include "sim/FrameWindows.h"
#include "sim/ObjectMembers.h"
#include "sim/SimObject.h"
#include "sim/SimulationActivation.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

// IDispatch passes arguments last first; members declare them first first.
std::vector<const VARIANT*> ArgumentsInOrder(const DISPPARAMS& params) {
    std::vector<const VARIANT*> arguments;
    for (UINT i = params.cArgs; i > 0; --i) {
        arguments.push_back(&params.rgvarg[i - 1]);
    }
    return arguments;
}

std::string ArgumentText(const VARIANT& argument) {
    switch (argument.vt) {
        case VT_BSTR:
            return argument.bstrVal == nullptr
                       ? std::string()
                       : UnitsToUtf8(
                             std::wstring(argument.bstrVal, SysStringLen(argument.bstrVal)));
        case VT_I4:
            return std::to_string(argument.lVal);
        case VT_INT:
            return std::to_string(argument.intVal);
        case VT_I2:
            return std::to_string(argument.iVal);
        case VT_UI1:
            return std::to_string(argument.bVal);
        case VT_UI4:
        case VT_UINT:
            return std::to_string(argument.uintVal);
        case VT_BOOL:
            return argument.boolVal != VARIANT_FALSE ? "true" : "false";
        default:
            return "<vt " + std::to_string(argument.vt) + ">";
    }
}

std::string TraceLine(const ObjectRef& target, const Member& member, bool put,
                      const std::vector<const VARIANT*>& arguments) {
    std::string line = member.kind == MemberKind::Method ? "call " : put ? "put " : "get ";
    line += ObjectKindName(target.kind);
    line += '.';
    line += UnitsToUtf8(member.name);
    for (const VARIANT* argument : arguments) {
        line += ' ';
        line += ArgumentText(*argument);
    }
    return line;
}

// A write of a writable property: the value is the one argument, named DISPID_PROPERTYPUT.
bool IsPut(const Member& member, WORD flags) {
    return member.kind == MemberKind::WritableProperty && (flags & DISPATCH_PROPERTYPUT) != 0;
}

HRESULT CheckPut(const DISPPARAMS& params) {
    if (params.cArgs != 1 || params.cNamedArgs != 1 || params.rgdispidNamedArgs == nullptr ||
        params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
        return DISP_E_BADPARAMCOUNT;
    }
    return S_OK;
}

HRESULT CheckCall(const Member& member, WORD flags, const DISPPARAMS* params) {
    if (IsPut(member, flags)) {
        return params == nullptr || params->rgvarg == nullptr ? E_INVALIDARG : CheckPut(*params);
    }
    const WORD needed = member.kind == MemberKind::Method ? DISPATCH_METHOD : DISPATCH_PROPERTYGET;
    if ((flags & needed) == 0) {
        return DISP_E_MEMBERNOTFOUND;  // includes writing a read-only property
    }
    if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr)) {
        return E_INVALIDARG;
    }
    if (params->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (params->cArgs < member.minArguments || params->cArgs > member.maxArguments) {
        return DISP_E_BADPARAMCOUNT;
    }
    return S_OK;
}

// Whether a PowerPoint has quit before, as the trace file records across processes: the
// Windows lane starts a new server process for each run of PowerPoint.
bool TraceFileShowsAQuit(const char* tracePath) {
    std::ifstream file(tracePath, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (line == "exit PowerPoint") {
            return true;
        }
    }
    return false;
}

// A PowerPoint started again after one quit opens nothing of what was open at first.
Scenario AsRelaunched(Scenario scenario) {
    scenario.open.clear();
    scenario.active.reset();
    scenario.shows.clear();
    scenario.unsaved.clear();
    return scenario;
}

void FillException(EXCEPINFO* exception, const std::wstring& message) {
    if (exception == nullptr) {
        return;
    }
    *exception = EXCEPINFO{};
    exception->bstrSource = SysAllocString(L"Microsoft PowerPoint");
    exception->bstrDescription =
        SysAllocStringLen(message.data(), static_cast<UINT>(message.size()));
    exception->scode = E_FAIL;
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

HRESULT Simulation::Connection(std::uint64_t objectInstance) {
    std::lock_guard<std::mutex> lock(mutex);
    return ConnectionLocked(objectInstance);
}

HRESULT Simulation::ConnectionLocked(std::uint64_t objectInstance) const {
    if (running && objectInstance == instance) {
        return S_OK;
    }
    return quitInstances.count(objectInstance) != 0 ? HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)
                                                    : RPC_E_DISCONNECTED;
}

// A busy PowerPoint turns the call away before doing anything.
HRESULT Simulation::RejectIfBusyLocked(const ObjectRef& target, const std::wstring& member) {
    const auto rejects = rejectsLeft.find(UnitsToUtf8(member));
    if (rejects == rejectsLeft.end() || rejects->second == 0) {
        return S_OK;
    }
    --rejects->second;
    TraceLocked(std::string("reject ") + ObjectKindName(target.kind) + "." + UnitsToUtf8(member));
    return RPC_E_CALL_REJECTED;
}

HRESULT Simulation::Invoke(const ObjectRef& target, DISPID memberId, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception) {
    const std::vector<Member>& members = MembersOf(target.kind);
    if (memberId < 1 || static_cast<std::size_t>(memberId) > members.size()) {
        const HRESULT connection = Connection(target.instance);
        return FAILED(connection) ? connection : DISP_E_MEMBERNOTFOUND;
    }
    const Member& member = members[static_cast<std::size_t>(memberId - 1)];
    FrameChanges frames;
    HRESULT outcome = S_OK;
    {
        std::unique_lock<std::mutex> lock(mutex);
        auto connected = [this, &target] { return running && target.instance == instance; };
        if (!connected()) {
            return ConnectionLocked(target.instance);
        }
        const HRESULT busy = RejectIfBusyLocked(target, member.name);
        if (FAILED(busy)) {
            return busy;
        }
        const std::vector<const VARIANT*> arguments = params != nullptr && params->rgvarg != nullptr
                                                          ? ArgumentsInOrder(*params)
                                                          : std::vector<const VARIANT*>{};
        const bool put = IsPut(member, flags);
        TraceLocked(TraceLine(target, member, put, arguments));
        if (state.Setup().delayMs > 0 && !delayEnded) {
            // A hanging PowerPoint; a reset or quit ends the wait, and so does EndDelay.
            stopped.wait_for(lock, std::chrono::milliseconds(state.Setup().delayMs),
                             [this, &connected] { return !connected() || delayEnded; });
            if (!connected()) {
                return ConnectionLocked(target.instance);
            }
        }
        outcome = CheckCall(member, flags, params);
        if (SUCCEEDED(outcome) && state.Setup().failMembers.count(UnitsToUtf8(member.name)) != 0) {
            outcome = E_FAIL;
        }
        if (SUCCEEDED(outcome)) {
            MemberCall call{state, target, arguments, result, frames, {}, put};
            outcome = member.handler(call);
            if (outcome == DISP_E_EXCEPTION) {
                FillException(exception, call.failure);
            }
        }
    }
    ApplyFrameChanges(frames, target.instance);
    return outcome;
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

void Simulation::EndDelay() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        delayEnded = true;
    }
    stopped.notify_all();
}

void Simulation::LastClientLetGo() {
    FrameChanges frames;
    std::uint64_t current = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!running || state.AnyOpen()) {
            return;
        }
        current = instance;
        StopLocked(frames, true);
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

std::vector<std::string> Simulation::TraceLines() {
    std::lock_guard<std::mutex> lock(mutex);
    return trace;
}

void Simulation::ClearTrace() {
    std::lock_guard<std::mutex> lock(mutex);
    trace.clear();
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

// WM_CLOSE on a frame closes its presentation, once any unsaved changes are settled; closing
// the last one quits PowerPoint or hides it, as the scenario says.
void Simulation::FrameClosed(std::uint64_t frameInstance, std::uint64_t presentationId) {
    if (!ConfirmClose(frameInstance, presentationId)) {
        return;
    }
    FrameChanges frames;
    {
        std::lock_guard<std::mutex> lock(mutex);
        OpenPresentation* presentation = state.FindPresentation(presentationId);
        if (!running || frameInstance != instance || presentation == nullptr) {
            return;
        }
        TraceLocked("close " + UnitsToUtf8(FrameTitle(*presentation, state.Setup().frameTitles)));
        state.Close(presentationId, frames);
        if (!state.AnyOpen() && state.Setup().whenLastWindowCloses == LastWindowCloses::Exit) {
            StopLocked(frames, true);
        }
    }
    ApplyFrameChanges(frames, frameInstance);
}

// The save prompt runs on the frame's thread without the lock: PowerPoint goes on serving calls
// while it waits for the presenter.
bool Simulation::ConfirmClose(std::uint64_t frameInstance, std::uint64_t presentationId) {
    HWND frame = nullptr;
    std::wstring name;
    {
        std::lock_guard<std::mutex> lock(mutex);
        OpenPresentation* presentation = state.FindPresentation(presentationId);
        if (!running || frameInstance != instance || presentation == nullptr) {
            return false;
        }
        if (unsaved.count(presentationId) == 0) {
            return true;
        }
        if (!prompting.insert(presentationId).second) {
            return false;  // its prompt is already open
        }
        frame = presentation->frame;
        name = FrameTitle(*presentation, state.Setup().frameTitles);
        TraceLocked("prompt save " + UnitsToUtf8(name));
    }
    const std::wstring deck = name.substr(0, name.rfind(L" - "));
    const int answer = PlatformFrameWindows().AskToSave(
        frame, L"Do you want to save changes to " + deck + L"?", L"Microsoft PowerPoint");
    std::lock_guard<std::mutex> lock(mutex);
    prompting.erase(presentationId);
    if (!running || frameInstance != instance) {
        return false;
    }
    TraceLocked(answer == IDYES  ? "answer save"
                : answer == IDNO ? "answer don't save"
                                 : "answer cancel");
    if (answer != IDYES && answer != IDNO) {
        return false;
    }
    unsaved.erase(presentationId);
    return true;
}

// Someone else brought a frame to the top (the plug-in raising the deck it works on).
void Simulation::FrameRaised(std::uint64_t frameInstance, std::uint64_t presentationId) {
    std::lock_guard<std::mutex> lock(mutex);
    const OpenPresentation* presentation = state.FindPresentation(presentationId);
    if (running && frameInstance == instance && presentation != nullptr) {
        TraceLocked("raise " + UnitsToUtf8(FrameTitle(*presentation, state.Setup().frameTitles)));
    }
}

void Simulation::ApplyFrameChanges(const FrameChanges& frames, std::uint64_t frameInstance) {
    FrameWindows& windows = PlatformFrameWindows();
    for (HWND frame : frames.destroy) {
        windows.Destroy(frame);
    }
    for (std::uint64_t presentationId : frames.create) {
        std::wstring title;
        {
            std::lock_guard<std::mutex> lock(mutex);
            const OpenPresentation* presentation = state.FindPresentation(presentationId);
            if (!running || frameInstance != instance || presentation == nullptr) {
                continue;
            }
            title = FrameTitle(*presentation, state.Setup().frameTitles);
        }
        HWND frame = windows.Create(title, [this, frameInstance, presentationId] {
            FrameClosed(frameInstance, presentationId);
        });
        bool kept = false;
        {
            std::lock_guard<std::mutex> lock(mutex);
            OpenPresentation* presentation = state.FindPresentation(presentationId);
            if (running && frameInstance == instance && presentation != nullptr) {
                presentation->frame = frame;
                kept = true;
            }
        }
        if (!kept) {
            windows.Destroy(frame);  // closed while its frame was being made
            continue;
        }
        windows.WatchRaises(frame, [this, frameInstance, presentationId] {
            FrameRaised(frameInstance, presentationId);
        });
    }
    for (HWND frame : frames.raise) {
        windows.BringToTop(frame);
    }
}

void Simulation::TraceLocked(const std::string& line) {
    // Only tests that set a scenario read the trace from memory; a process started from
    // PPTSIM_SCENARIO (the plug-in, the server) runs for hours and keeps only the file.
    if (pinned) {
        trace.push_back(line);
    }
    if (traceFile.is_open()) {
        traceFile << line << '\n';
        traceFile.flush();
    }
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

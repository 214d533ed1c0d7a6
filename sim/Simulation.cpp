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
            StartLocked(scenario, frames);
        }
        current = instance;
    }
    ApplyFrameChanges(frames, current);
    *application = SimObject::Create({ObjectKind::Application, current});
    return S_OK;
}

bool Simulation::IsConnected(std::uint64_t objectInstance) {
    std::lock_guard<std::mutex> lock(mutex);
    return running && objectInstance == instance;
}

HRESULT Simulation::Invoke(const ObjectRef& target, DISPID memberId, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception) {
    const std::vector<Member>& members = MembersOf(target.kind);
    if (memberId < 1 || static_cast<std::size_t>(memberId) > members.size()) {
        return IsConnected(target.instance) ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    const Member& member = members[static_cast<std::size_t>(memberId - 1)];
    FrameChanges frames;
    HRESULT outcome = S_OK;
    {
        std::unique_lock<std::mutex> lock(mutex);
        auto connected = [this, &target] { return running && target.instance == instance; };
        if (!connected()) {
            return RPC_E_DISCONNECTED;
        }
        const std::vector<const VARIANT*> arguments = params != nullptr && params->rgvarg != nullptr
                                                          ? ArgumentsInOrder(*params)
                                                          : std::vector<const VARIANT*>{};
        const bool put = IsPut(member, flags);
        TraceLocked(TraceLine(target, member, put, arguments));
        if (state.Setup().delayMs > 0) {
            // A hanging PowerPoint; a reset or quit ends the wait.
            stopped.wait_for(lock, std::chrono::milliseconds(state.Setup().delayMs),
                             [&connected] { return !connected(); });
            if (!connected()) {
                return RPC_E_DISCONNECTED;
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
        StopLocked(frames);
        pinned = std::move(scenario);
        staged.reset();
        trace.clear();
        if (pinned && pinned->available) {
            StartLocked(*pinned, frames);
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

std::vector<std::string> Simulation::TraceLines() {
    std::lock_guard<std::mutex> lock(mutex);
    return trace;
}

void Simulation::ClearTrace() {
    std::lock_guard<std::mutex> lock(mutex);
    trace.clear();
}

void Simulation::StartLocked(const Scenario& scenario, FrameChanges& frames) {
    ++instance;
    running = true;
    state.Start(scenario, frames);
    const char* tracePath = std::getenv("PPTSIM_TRACE");
    if (tracePath != nullptr && *tracePath != '\0') {
        traceFile.open(tracePath, std::ios::app | std::ios::binary);
    }
}

void Simulation::StopLocked(FrameChanges& frames) {
    if (!running) {
        return;
    }
    running = false;
    state.Stop(frames);
    traceFile.close();
    traceFile.clear();
    stopped.notify_all();
}

// WM_CLOSE on a frame closes its presentation; closing the last one quits PowerPoint.
void Simulation::FrameClosed(std::uint64_t frameInstance, std::uint64_t presentationId) {
    FrameChanges frames;
    {
        std::lock_guard<std::mutex> lock(mutex);
        OpenPresentation* presentation = state.FindPresentation(presentationId);
        if (!running || frameInstance != instance || presentation == nullptr) {
            return;
        }
        TraceLocked("close " + UnitsToUtf8(FrameTitle(*presentation, state.Setup().frameTitles)));
        state.Close(presentationId, frames);
        if (!state.AnyOpen()) {
            StopLocked(frames);
        }
    }
    ApplyFrameChanges(frames, frameInstance);
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

// Member calls: checking a call's kind and arguments, a busy PowerPoint turning calls away, a
// hanging one ("delayMs"), and handing the call to the member's handler.
#include "sim/Simulation.h"

#include <algorithm>
#include <chrono>

#include "sim/SimObject.h"
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

// The failure a scenario gives the member's calls: E_FAIL ("failMembers"), RPC_E_SERVERFAULT
// ("faultMembers"); S_OK for none.
HRESULT ScriptedFailure(const Scenario& scenario, const std::wstring& member) {
    if (scenario.failMembers.empty() && scenario.faultMembers.empty()) {
        return S_OK;  // the usual scenario: no member name to convert on every call
    }
    const std::string name = UnitsToUtf8(member);
    if (scenario.failMembers.count(name) != 0) {
        return E_FAIL;
    }
    return scenario.faultMembers.count(name) != 0 ? RPC_E_SERVERFAULT : S_OK;
}

}  // namespace

// A busy PowerPoint turns the call away before doing anything: the named member's first calls
// ("reject"), or, from the first call of a member of "rejectFor" on, every call of any member for
// that while: PowerPoint's message filter turns calls away for the whole server while a dialog is
// open, not per member.
HRESULT Simulation::RejectIfBusyLocked(const ObjectRef& target, const std::wstring& member) {
    if (rejectsLeft.empty() && state.Setup().rejectFor.empty()) {
        return S_OK;  // the usual scenario: no member name to convert on every call
    }
    const std::string name = UnitsToUtf8(member);
    bool busy = false;
    const auto rejects = rejectsLeft.find(name);
    if (rejects != rejectsLeft.end() && rejects->second > 0) {
        --rejects->second;
        busy = true;
    }
    const auto now = std::chrono::steady_clock::now();
    const auto period = state.Setup().rejectFor.find(name);
    if (period != state.Setup().rejectFor.end() && busySpellsOpened.insert(name).second) {
        busyUntil = std::max(busyUntil, now + std::chrono::milliseconds(period->second));
    }
    busy = busy || now < busyUntil;
    if (!busy) {
        return S_OK;
    }
    TraceLocked("reject " + std::string(ObjectKindName(target.kind)) + "." + name);
    return RPC_E_CALL_REJECTED;
}

HRESULT Simulation::Invoke(const ObjectRef& target, DISPID memberId, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception) {
    const std::vector<Member>& members = MembersOf(target.kind);
    if (memberId < 1 || static_cast<std::size_t>(memberId) > members.size()) {
        const HRESULT connection = Connection(target);
        return FAILED(connection) ? connection : DISP_E_MEMBERNOTFOUND;
    }
    const Member& member = members[static_cast<std::size_t>(memberId - 1)];
    FrameChanges frames;
    HRESULT outcome = S_OK;
    {
        std::unique_lock<std::mutex> lock(mutex);
        const HRESULT connection = ConnectionLocked(target);
        if (FAILED(connection)) {
            return connection;
        }
        const HRESULT busy = RejectIfBusyLocked(target, member.name);
        if (FAILED(busy)) {
            return busy;
        }
        const std::vector<const VARIANT*> arguments = params != nullptr && params->rgvarg != nullptr
                                                          ? ArgumentsInOrder(*params)
                                                          : std::vector<const VARIANT*>{};
        const bool put = IsPut(member, flags);
        TraceCallLocked(target, member, put, arguments);
        if (state.Setup().delayMs > 0 && !delayEnded) {
            // A hanging PowerPoint; a reset or quit ends the wait, and so does EndDelay.
            auto connected = [this, &target] { return running && target.instance == instance; };
            stopped.wait_for(lock, std::chrono::milliseconds(state.Setup().delayMs),
                             [this, &connected] { return !connected() || delayEnded; });
            const HRESULT after = ConnectionLocked(target);
            if (FAILED(after)) {
                return after;
            }
        }
        outcome = CheckCall(member, flags, params);
        if (SUCCEEDED(outcome)) {
            outcome = ScriptedFailure(state.Setup(), member.name);
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

void Simulation::EndDelay() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        delayEnded = true;
    }
    stopped.notify_all();
}

}  // namespace pptsim

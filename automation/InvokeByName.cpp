#include "automation/InvokeByName.h"

#include <chrono>
#include <optional>
#include <vector>

#include "automation/AutomationDiagnostics.h"
#include "automation/CallBudget.h"
#include "automation/CommandDiagnostics.h"
#include "automation/MessagePump.h"
#include "automation/PowerPointRefusal.h"
#include "automation/PowerPointSurface.h"
#include "automation/ServerLoss.h"
#include "automation/UnansweredCalls.h"

namespace {

constexpr int kAnsiNameSize = 256;

// Between two tries of a call a busy PowerPoint turned away: short, and the thread's messages
// keep flowing meanwhile.
constexpr DWORD kBusyPauseMs = 25;

bool IsBusy(HRESULT result) {
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

// The two calls into the server that one member call makes. Only the invocation going through
// says that PowerPoint answers again: a server may resolve names while it turns calls away.
enum class CallStep { NameLookup, Invocation };

// Notes what the outcome says for the thread: a server that may be gone, a call left unanswered.
HRESULT Noted(HRESULT result) {
    NoteCallResult(result);
    NoteUnansweredCall(result);
    return result;
}

// Makes the call until the server takes it or the job's budget for busy retries runs out; no
// call at all once the job's submitter has given up. Once a command has been turned away for
// most of its bound, PowerPoint counts as refusing: calls it turns away then fail at once, until
// one goes through.
template <typename Call>
HRESULT CallUntilTaken(CallStep step, const Call& call) {
    CallBudget& budget = CallBudget::Current();
    if (budget.IsSpent()) {
        return Noted(RPC_E_CALL_CANCELED);
    }
    const auto started = CallBudget::Clock::now();
    auto lastTry = started;
    HRESULT result = call();
    int retries = 0;
    while (IsBusy(result) && !IsPowerPointRefusing() && !budget.IsSpent() &&
           CallBudget::Clock::now() + std::chrono::milliseconds(kBusyPauseMs) <
               budget.RetryUntil()) {
        WaitDispatching(kBusyPauseMs);
        if (budget.IsSpent()) {
            break;
        }
        lastTry = CallBudget::Clock::now();
        result = call();
        ++retries;
    }
    const auto ended = CallBudget::Clock::now();
    // Turned away until the try that went through, or until the end.
    budget.CountTurnedAway((IsBusy(result) ? ended : lastTry) - started);
    if (!IsBusy(result)) {
        if (step == CallStep::Invocation) {
            NotePowerPointAnswered();
        }
    } else if (budget.CoversWholeBound() && budget.WasTurnedAwayMostOfTheTime()) {
        NotePowerPointRefusing();
    }
    const CallBudget::Clock::duration waited = ended - started;
    if (retries > 0) {
        ReportBusyRetries(retries, waited);
    }
    return Noted(result);
}

// Whether the call may change what PowerPoint shows: a property write, or a method other than
// the few that only read.
bool IsActingCall(WORD callKind, const wchar_t* memberName) {
    if ((callKind & DISPATCH_PROPERTYPUT) != 0) {
        return true;
    }
    return (callKind & DISPATCH_METHOD) != 0 && !PowerPointSurface::IsReadingMethod(memberName);
}

// The member name in the ANSI code page, for diagnostic texts only: converted only for a call
// that failed.
std::string AnsiName(const wchar_t* memberName) {
    char buffer[kAnsiNameSize] = {};
    if (WideCharToMultiByte(CP_ACP, 0, memberName, -1, buffer, kAnsiNameSize, nullptr, nullptr) ==
        0) {
        buffer[0] = '\0';
    }
    buffer[kAnsiNameSize - 1] = '\0';
    return buffer;
}

}  // namespace

HRESULT InvokeByName(WORD callKind, VARIANT* result, IDispatch* object, const wchar_t* memberName,
                     const Arguments& arguments) {
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    // IDispatch declares the names without const, but they only go in: nothing writes to them.
    LPOLESTR names[1] = {const_cast<LPOLESTR>(memberName)};
    DISPID member = DISPID_UNKNOWN;
    const auto started = std::chrono::steady_clock::now();
    const HRESULT lookup = CallUntilTaken(CallStep::NameLookup, [&] {
        return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
    });
    if (FAILED(lookup)) {
        ReportFailedCall(ComposeNameLookupFailure(AnsiName(memberName).c_str(), lookup), lookup,
                         std::chrono::steady_clock::now() - started);
        return lookup;
    }

    // Last parameter first, plus one spare element so the array is never empty. The copies are
    // shallow: the arguments keep ownership of what they hold.
    const auto argumentCount = static_cast<UINT>(arguments.size());
    std::vector<VARIANT> argumentArray(argumentCount + 1);
    for (VARIANT& element : argumentArray) {
        VariantInit(&element);
    }
    for (UINT index = 0; index < argumentCount; ++index) {
        argumentArray[argumentCount - 1 - index] = arguments[index].Value();
    }

    DISPID namedArgument = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {};
    parameters.rgvarg = argumentArray.data();
    parameters.cArgs = argumentCount;
    if ((callKind & DISPATCH_PROPERTYPUT) != 0) {
        parameters.cNamedArgs = 1;
        parameters.rgdispidNamedArgs = &namedArgument;
    }

    // A call that may change what PowerPoint shows begins only while its outcome can still reach
    // the submitter in time, and is then waited for.
    std::optional<CallBudget::ActingCall> acting;
    if (IsActingCall(callKind, memberName)) {
        acting.emplace();
    }
    const auto invoke = [&] {
        return object->Invoke(member, IID_NULL, LOCALE_SYSTEM_DEFAULT, callKind, &parameters,
                              result, nullptr, nullptr);
    };
    const HRESULT call = acting && !acting->Begun() ? Noted(RPC_E_CALL_CANCELED)
                                                    : CallUntilTaken(CallStep::Invocation, invoke);
    if (FAILED(call)) {
        ReportFailedCall(ComposeInvokeFailure(AnsiName(memberName).c_str(), member, call), call,
                         std::chrono::steady_clock::now() - started);
    } else {
        ReportTakenCall();
    }
    return call;
}

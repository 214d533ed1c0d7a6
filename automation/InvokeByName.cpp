#include "automation/InvokeByName.h"

#include <chrono>
#include <vector>

#include "automation/AutomationDiagnostics.h"
#include "automation/CallBudget.h"
#include "automation/MessagePump.h"
#include "automation/RefusedMembers.h"
#include "automation/ServerLoss.h"

namespace {

constexpr int kAnsiNameSize = 256;

// Between two tries of a call a busy PowerPoint turned away: short, and the thread's messages
// keep flowing meanwhile.
constexpr DWORD kBusyPauseMs = 25;

bool IsBusy(HRESULT result) {
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

// The two calls into the server that one member call makes. Only the invocation going through
// says that the member is taken again: a server may resolve names while it turns calls away.
enum class CallStep { NameLookup, Invocation };

// Makes the call until the server takes it or the job's budget for busy retries runs out; no
// call at all once the job's submitter has given up. Notes a gone server, and members a busy
// server turned away for a whole press (after which a turned-away call fails at once).
template <typename Call>
HRESULT CallUntilTaken(const std::wstring& member, CallStep step, const Call& call) {
    const CallBudget budget = CallBudget::Current();
    if (budget.IsSpent()) {
        return RPC_E_CALL_CANCELED;
    }
    HRESULT result = call();
    bool retried = false;
    while (IsBusy(result) && !IsPowerPointRefusing() && !budget.IsSpent() &&
           CallBudget::Clock::now() + std::chrono::milliseconds(kBusyPauseMs) <
               budget.RetryUntil()) {
        WaitDispatching(kBusyPauseMs);
        retried = true;
        if (budget.IsSpent()) {
            break;
        }
        result = call();
    }
    if (!IsBusy(result)) {
        if (step == CallStep::Invocation) {
            NoteMemberTaken(member);
        }
    } else if (retried && budget.CoversWholeBound()) {
        RememberRefusedMember(member);
    }
    NoteCallResult(result);
    return result;
}

// The member name in the ANSI code page, for diagnostic texts only: converted only when a
// diagnostic is written, never on the path of a call.
std::string AnsiName(const std::wstring& memberName) {
    char buffer[kAnsiNameSize] = {};
    if (WideCharToMultiByte(CP_ACP, 0, memberName.c_str(), -1, buffer, kAnsiNameSize, nullptr,
                            nullptr) == 0) {
        buffer[0] = '\0';
    }
    buffer[kAnsiNameSize - 1] = '\0';
    return buffer;
}

}  // namespace

HRESULT InvokeByName(WORD callKind, VARIANT* result, IDispatch* object,
                     const std::wstring& memberName, const Arguments& arguments) {
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    std::wstring name = memberName;  // GetIDsOfNames takes a mutable name
    LPOLESTR names[1] = {&name[0]};
    DISPID member = DISPID_UNKNOWN;
    const HRESULT lookup = CallUntilTaken(memberName, CallStep::NameLookup, [&] {
        return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
    });
    if (FAILED(lookup)) {
        if (DiagnosticsEnabled()) {
            EmitDiagnostic(ComposeNameLookupFailure(AnsiName(memberName).c_str(), lookup));
        }
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

    const HRESULT call = CallUntilTaken(memberName, CallStep::Invocation, [&] {
        return object->Invoke(member, IID_NULL, LOCALE_SYSTEM_DEFAULT, callKind, &parameters,
                              result, nullptr, nullptr);
    });
    if (FAILED(call)) {
        if (DiagnosticsEnabled()) {
            EmitDiagnostic(ComposeInvokeFailure(AnsiName(memberName).c_str(), member, call));
        }
    }
    return call;
}

#include "automation/InvokeByName.h"

#include <chrono>
#include <vector>

#include "automation/AutomationDiagnostics.h"
#include "automation/CommandDiagnostics.h"
#include "automation/MessagePump.h"
#include "automation/ServerLoss.h"

namespace {

constexpr int kAnsiNameSize = 256;

// A busy PowerPoint (a dialog open, starting, saving) turns calls away; each is tried again,
// with a short pause that keeps the thread's messages flowing, for as long as a key press may
// wait for PowerPoint.
constexpr std::chrono::milliseconds kBusyRetryBound(5000);
constexpr DWORD kBusyPauseMs = 25;

bool IsBusy(HRESULT result) {
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

// Makes the call until the server takes it or the bound runs out; notes a gone server.
template <typename Call>
HRESULT CallUntilTaken(const Call& call) {
    const auto started = std::chrono::steady_clock::now();
    const auto giveUp = started + kBusyRetryBound;
    HRESULT result = call();
    int retries = 0;
    while (IsBusy(result) && std::chrono::steady_clock::now() < giveUp) {
        WaitDispatching(kBusyPauseMs);
        result = call();
        ++retries;
    }
    NoteCallResult(result);
    if (retries > 0) {
        ReportBusyRetries(retries, std::chrono::steady_clock::now() - started);
    }
    return result;
}

// The member name in the ANSI code page, for diagnostic texts only: converted only for a call
// that failed.
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
    const auto started = std::chrono::steady_clock::now();
    const HRESULT lookup = CallUntilTaken(
        [&] { return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member); });
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

    const HRESULT call = CallUntilTaken([&] {
        return object->Invoke(member, IID_NULL, LOCALE_SYSTEM_DEFAULT, callKind, &parameters,
                              result, nullptr, nullptr);
    });
    if (FAILED(call)) {
        ReportFailedCall(ComposeInvokeFailure(AnsiName(memberName).c_str(), member, call), call,
                         std::chrono::steady_clock::now() - started);
    } else {
        ReportTakenCall();
    }
    return call;
}

#include "automation/InvokeByName.h"

#include <vector>

#include "automation/AutomationDiagnostics.h"

namespace {

constexpr int kAnsiNameSize = 256;

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
    const HRESULT lookup = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
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

    const HRESULT call = object->Invoke(member, IID_NULL, LOCALE_SYSTEM_DEFAULT, callKind,
                                        &parameters, result, nullptr, nullptr);
    if (FAILED(call)) {
        if (DiagnosticsEnabled()) {
            EmitDiagnostic(ComposeInvokeFailure(AnsiName(memberName).c_str(), member, call));
        }
    }
    return call;
}

#include "automation/LateBoundCalls.h"

#include <utility>

#include "automation/InvokeByName.h"

DispatchPtr CallOutcome::TakeObject() {
    VARIANT* answer = value.Get();
    if (!Succeeded() || answer->vt != VT_DISPATCH) {
        return DispatchPtr();
    }
    // The reference moves into the owner; the emptied variant then clears to nothing.
    IDispatch* object = std::exchange(answer->pdispVal, nullptr);
    answer->vt = VT_EMPTY;
    return DispatchPtr::Adopt(object);
}

std::optional<std::int32_t> CallOutcome::Integer() const {
    if (!Succeeded()) {
        return std::nullopt;
    }
    switch (value->vt) {
        case VT_I4:
            return value->lVal;
        case VT_INT:
            return value->intVal;
        case VT_I2:
            return value->iVal;
        default:
            return std::nullopt;
    }
}

std::optional<std::wstring> CallOutcome::Text() const {
    if (!Succeeded() || value->vt != VT_BSTR) {
        return std::nullopt;
    }
    if (value->bstrVal == nullptr) {
        return std::wstring();
    }
    return std::wstring(value->bstrVal, SysStringLen(value->bstrVal));
}

CallOutcome InvokeMember(WORD callKind, IDispatch* object, const std::wstring& member,
                         const Arguments& arguments) {
    CallOutcome outcome;
    outcome.status = InvokeByName(callKind, outcome.value.Get(), object, member, arguments);
    return outcome;
}

CallOutcome ReadProperty(IDispatch* object, const std::wstring& member) {
    return InvokeMember(DISPATCH_PROPERTYGET, object, member);
}

CallOutcome CallMember(IDispatch* object, const std::wstring& member, const Arguments& arguments) {
    return InvokeMember(DISPATCH_METHOD, object, member, arguments);
}

HRESULT CallWithoutAnswer(IDispatch* object, const std::wstring& member,
                          const Arguments& arguments) {
    return InvokeByName(DISPATCH_METHOD, nullptr, object, member, arguments);
}

HRESULT WriteProperty(IDispatch* object, const std::wstring& member, const Argument& value) {
    return InvokeByName(DISPATCH_PROPERTYPUT, nullptr, object, member, {value});
}

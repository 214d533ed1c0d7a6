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

namespace {

// The elements of a safe array, locked while they are read.
class ArrayAccess {
public:
    explicit ArrayAccess(SAFEARRAY* array) : array(array) {
        if (FAILED(SafeArrayAccessData(array, &data))) {
            data = nullptr;
        }
    }
    ArrayAccess(const ArrayAccess&) = delete;
    ArrayAccess& operator=(const ArrayAccess&) = delete;
    ~ArrayAccess() {
        if (data != nullptr) {
            SafeArrayUnaccessData(array);
        }
    }
    const void* Data() const { return data; }

private:
    SAFEARRAY* array;
    void* data = nullptr;
};

}  // namespace

std::optional<std::vector<std::int32_t>> CallOutcome::Integers() const {
    if (!Succeeded() || (value->vt & VT_ARRAY) == 0 || value->parray == nullptr ||
        SafeArrayGetDim(value->parray) != 1) {
        return std::nullopt;
    }
    SAFEARRAY* array = value->parray;
    VARTYPE element = VT_EMPTY;
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetVartype(array, &element)) ||
        FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper)) ||
        (element != VT_I4 && element != VT_VARIANT)) {
        return std::nullopt;
    }
    const ArrayAccess access(array);
    if (access.Data() == nullptr) {
        return std::nullopt;
    }
    std::vector<std::int32_t> integers;
    for (LONG at = 0; at <= upper - lower; ++at) {
        if (element == VT_I4) {
            integers.push_back(static_cast<const LONG*>(access.Data())[at]);
            continue;
        }
        const VARIANT& item = static_cast<const VARIANT*>(access.Data())[at];
        if (item.vt != VT_I4) {
            return std::nullopt;
        }
        integers.push_back(item.lVal);
    }
    return integers;
}

CallOutcome InvokeMember(WORD callKind, IDispatch* object, const wchar_t* member,
                         const Arguments& arguments) {
    CallOutcome outcome;
    outcome.status = InvokeByName(callKind, outcome.value.Get(), object, member, arguments);
    return outcome;
}

CallOutcome ReadProperty(IDispatch* object, const wchar_t* member) {
    return InvokeMember(DISPATCH_PROPERTYGET, object, member);
}

CallOutcome CallMember(IDispatch* object, const wchar_t* member, const Arguments& arguments) {
    return InvokeMember(DISPATCH_METHOD, object, member, arguments);
}

HRESULT CallWithoutAnswer(IDispatch* object, const wchar_t* member, const Arguments& arguments) {
    return InvokeByName(DISPATCH_METHOD, nullptr, object, member, arguments);
}

HRESULT WriteProperty(IDispatch* object, const wchar_t* member, const Argument& value) {
    return InvokeByName(DISPATCH_PROPERTYPUT, nullptr, object, member, {value});
}

#include "sim/MemberHandlers.h"

#include "sim/SimObject.h"

namespace pptsim::members {

HRESULT Raise(MemberCall& call, const wchar_t* message) {
    call.failure = message;
    return DISP_E_EXCEPTION;
}

HRESULT ReturnObject(MemberCall& call, ObjectRef target) {
    if (call.result != nullptr) {
        target.instance = call.self.instance;
        call.result->vt = VT_DISPATCH;
        call.result->pdispVal = SimObject::Create(target);
    }
    return S_OK;
}

HRESULT ReturnInteger(MemberCall& call, std::int64_t value) {
    if (call.result != nullptr) {
        call.result->vt = VT_I4;
        call.result->lVal = static_cast<LONG>(value);
    }
    return S_OK;
}

HRESULT ReturnText(MemberCall& call, const std::wstring& text) {
    if (call.result != nullptr) {
        BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (copy == nullptr) {
            return E_OUTOFMEMORY;
        }
        call.result->vt = VT_BSTR;
        call.result->bstrVal = copy;
    }
    return S_OK;
}

OpenPresentation* PresentationOfCall(MemberCall& call) {
    return call.state.FindPresentation(call.self.presentationId);
}

HRESULT ReturnPartOfPresentation(MemberCall& call, ObjectKind part) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnObject(call, {part, 0, presentation.id});
    });
}

HRESULT ReturnShowWindow(MemberCall& call, const RunningShow* show, const wchar_t* failure) {
    if (show == nullptr) {
        return Raise(call, failure);
    }
    return ReturnObject(call, {ObjectKind::SlideShowWindow, 0, show->presentationId, show->id});
}

HRESULT ReturnListedCount(MemberCall& call, bool protectedView) {
    return ReturnInteger(call, static_cast<std::int64_t>(call.state.Listed(protectedView).size()));
}

HRESULT ReturnListedItem(MemberCall& call, bool protectedView, ObjectKind kind) {
    const std::vector<const OpenPresentation*> listed = call.state.Listed(protectedView);
    std::size_t position = 0;
    const HRESULT read = ReadItemIndex(call, listed.size(), position);
    if (FAILED(read)) {
        return read;
    }
    return ReturnObject(call, {kind, 0, listed[position]->id});
}

bool ReadIndex(const VARIANT& argument, std::int64_t& index) {
    switch (argument.vt) {
        case VT_I4:
            index = argument.lVal;
            return true;
        case VT_INT:
            index = argument.intVal;
            return true;
        case VT_I2:
            index = argument.iVal;
            return true;
        case VT_UI1:
            index = argument.bVal;
            return true;
        case VT_UI4:
        case VT_UINT:
            index = argument.uintVal;
            return true;
        default:
            return false;
    }
}

HRESULT ReadItemIndex(const MemberCall& call, std::size_t count, std::size_t& position) {
    std::int64_t index = 0;
    if (!ReadIndex(*call.arguments[0], index)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (index < 1 || static_cast<std::uint64_t>(index) > count) {
        return E_INVALIDARG;
    }
    position = static_cast<std::size_t>(index - 1);
    return S_OK;
}

bool ReadInteger(const VARIANT& argument, std::int64_t& value) {
    if (argument.vt == VT_BOOL) {
        value = argument.boolVal != VARIANT_FALSE ? -1 : 0;
        return true;
    }
    return ReadIndex(argument, value);
}

bool ReadText(const VARIANT& argument, std::wstring& text) {
    if (argument.vt != VT_BSTR) {
        return false;
    }
    text.assign(argument.bstrVal != nullptr ? argument.bstrVal : L"",
                SysStringLen(argument.bstrVal));
    return true;
}

}  // namespace pptsim::members

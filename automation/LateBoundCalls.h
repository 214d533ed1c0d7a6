// Typed late-bound calls on top of InvokeByName: property reads and writes and method calls,
// with arguments in the member's own parameter order and an owned answer that reads as an
// object, an integer or a text. Call on the thread that owns the object; a missing object
// fails the call without calling anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/Argument.h"
#include "platform/DispatchPtr.h"
#include "platform/Platform.h"
#include "platform/UniqueVariant.h"

// What one call gave back: its HRESULT and the answer it owns.
class CallOutcome {
public:
    HRESULT Status() const { return status; }
    bool Succeeded() const { return SUCCEEDED(status); }
    const VARIANT& Value() const { return *value; }

    // Each read takes the answer only from the slot its type tag names, so an answer of an
    // unexpected type (or a failed call) reads as none rather than as a stray pointer or an
    // uninitialised number.
    // The object answered, whose reference moves out of the outcome.
    DispatchPtr TakeObject();
    // A 32-, 16-bit or machine integer.
    std::optional<std::int32_t> Integer() const;
    // The whole text, zeros included; a null text is empty.
    std::optional<std::wstring> Text() const;
    // A one-dimensional array of 32-bit integers, or of variants that each hold one.
    std::optional<std::vector<std::int32_t>> Integers() const;

private:
    friend CallOutcome InvokeMember(WORD, IDispatch*, const wchar_t*, const Arguments&);

    HRESULT status = E_UNEXPECTED;
    UniqueVariant value;
};

// Any kind of call (DISPATCH_METHOD, DISPATCH_PROPERTYGET, ...), with its answer.
CallOutcome InvokeMember(WORD callKind, IDispatch* object, const wchar_t* member,
                         const Arguments& arguments = {});
CallOutcome ReadProperty(IDispatch* object, const wchar_t* member);
CallOutcome CallMember(IDispatch* object, const wchar_t* member, const Arguments& arguments = {});
// A method call that asks for no answer.
HRESULT CallWithoutAnswer(IDispatch* object, const wchar_t* member,
                          const Arguments& arguments = {});
HRESULT WriteProperty(IDispatch* object, const wchar_t* member, const Argument& value);

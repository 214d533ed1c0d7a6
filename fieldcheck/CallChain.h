// A chain of late-bound calls on PowerPoint that stops at the first failure and says, in words,
// which member failed: how the field check makes its deck and asks PowerPoint what it does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "automation/LateBoundCalls.h"
#include "platform/DispatchPtr.h"
#include "platform/Platform.h"

// "0x8001010a".
std::string HexCode(HRESULT result);

class CallChain {
public:
    DispatchPtr Read(IDispatch* object, const wchar_t* member);
    DispatchPtr Call(IDispatch* object, const wchar_t* member, const Arguments& arguments);
    std::wstring Text(IDispatch* object, const wchar_t* member);
    // A property read, or (method) a call with no arguments, that answers a number; -1 on failure.
    int Integer(IDispatch* object, const wchar_t* member, WORD callKind = DISPATCH_PROPERTYGET);
    // An array of integers (SlideIDs); empty on failure.
    std::vector<std::int32_t> Integers(IDispatch* object, const wchar_t* member);
    bool Do(IDispatch* object, const wchar_t* member, const Arguments& arguments = {});
    bool Put(IDispatch* object, const wchar_t* member, const Argument& value);
    bool Failed() const { return !problem.empty(); }
    const std::string& Problem() const { return problem; }

private:
    // The call's outcome; a failed one, and none at all once the chain has failed.
    CallOutcome Answer(WORD callKind, IDispatch* object, const wchar_t* member,
                       const Arguments& arguments = {});
    DispatchPtr Object(CallOutcome outcome, const wchar_t* member);
    bool Check(const wchar_t* member, HRESULT outcome);

    std::string problem;
};

#include "fieldcheck/CallChain.h"

#include <cstdio>

#include "support/TextConversion.h"

std::string HexCode(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
    return text;
}

DispatchPtr CallChain::Read(IDispatch* object, const wchar_t* member) {
    return Object(Answer(DISPATCH_PROPERTYGET, object, member), member);
}

DispatchPtr CallChain::Call(IDispatch* object, const wchar_t* member, const Arguments& arguments) {
    return Object(Answer(DISPATCH_METHOD, object, member, arguments), member);
}

std::wstring CallChain::Text(IDispatch* object, const wchar_t* member) {
    return Answer(DISPATCH_PROPERTYGET, object, member).Text().value_or(std::wstring());
}

int CallChain::Integer(IDispatch* object, const wchar_t* member, WORD callKind) {
    return Answer(callKind, object, member).Integer().value_or(-1);
}

std::vector<std::int32_t> CallChain::Integers(IDispatch* object, const wchar_t* member) {
    return Answer(DISPATCH_PROPERTYGET, object, member)
        .Integers()
        .value_or(std::vector<std::int32_t>());
}

bool CallChain::Do(IDispatch* object, const wchar_t* member, const Arguments& arguments) {
    return !Failed() && Check(member, CallWithoutAnswer(object, member, arguments));
}

bool CallChain::Put(IDispatch* object, const wchar_t* member, const Argument& value) {
    return !Failed() && Check(member, WriteProperty(object, member, value));
}

CallOutcome CallChain::Answer(WORD callKind, IDispatch* object, const wchar_t* member,
                              const Arguments& arguments) {
    if (Failed()) {
        return CallOutcome();
    }
    CallOutcome outcome = InvokeMember(callKind, object, member, arguments);
    Check(member, outcome.Status());
    return outcome;
}

DispatchPtr CallChain::Object(CallOutcome outcome, const wchar_t* member) {
    DispatchPtr object = outcome.TakeObject();
    if (!object && !Failed()) {
        problem = "PowerPoint's " + WideToUtf8(member) + " gave no object";
    }
    return object;
}

bool CallChain::Check(const wchar_t* member, HRESULT outcome) {
    if (FAILED(outcome)) {
        problem = "PowerPoint's " + WideToUtf8(member) + " failed with " + HexCode(outcome);
        return false;
    }
    return true;
}

// The members each kind of object answers to, and what PowerPoint does behind them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/ModelState.h"
#include "sim/ObjectRef.h"

namespace pptsim {

// One member call, made with the simulation's lock held.
struct MemberCall {
    ModelState& state;
    const ObjectRef& self;
    std::vector<const VARIANT*> arguments;  // in the order the member declares them
    VARIANT* result;                        // may be null
    FrameChanges& frames;
    std::wstring failure;  // PowerPoint's message when the call raises an error
    bool put;              // a write of a writable property; arguments[0] is the new value
};

using MemberHandler = HRESULT (*)(MemberCall& call);

enum class MemberKind { Property, WritableProperty, Method };

struct Member {
    const wchar_t* name;
    MemberKind kind;
    UINT minArguments;
    UINT maxArguments;
    MemberHandler handler;
};

// The members of a kind; a member's DISPID is its position plus one.
const std::vector<Member>& MembersOf(ObjectKind kind);

}  // namespace pptsim

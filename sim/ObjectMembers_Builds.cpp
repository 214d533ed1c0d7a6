// Builds: a slide's animation timeline, whose main sequence's effects a click starts
// (msoAnimTriggerOnPageClick) or that follow one.
#include "sim/MemberHandlers.h"
#include "sim/SimObject.h"

namespace pptsim::members {
namespace {

// MsoAnimTriggerType.
constexpr std::int64_t kOnPageClick = 1;
constexpr std::int64_t kHighestTrigger = 5;

}  // namespace

HRESULT SequenceCount(MemberCall& call) {
    return IfExists(call, SlideOfCall(call),
                    [&](const SlideContent& slide) { return ReturnInteger(call, slide.effects); });
}

// AddEffect(Shape, effectId, [Level], [trigger], [Index]): an effect on a shape of this slide at
// the end of the sequence (Index is accepted and ignored); the trigger is msoAnimTriggerOnPageClick
// unless it says otherwise, and only such an effect is a build of its own.
HRESULT SequenceAddEffect(MemberCall& call) {
    return IfExists(call, SlideOfCall(call), [&](SlideContent& slide) {
        const VARIANT& shape = *call.arguments[0];
        const ObjectRef* target =
            shape.vt == VT_DISPATCH ? SimObject::TargetOf(shape.pdispVal) : nullptr;
        if (target == nullptr || target->kind != ObjectKind::Shape ||
            target->presentationId != call.self.presentationId ||
            target->slideId != call.self.slideId) {
            return DISP_E_TYPEMISMATCH;
        }
        std::int64_t effect = 0;
        std::int64_t level = 0;
        std::int64_t trigger = kOnPageClick;
        if (!ReadInteger(*call.arguments[1], effect) ||
            (call.arguments.size() > 2 && !ReadInteger(*call.arguments[2], level)) ||
            (call.arguments.size() > 3 && !ReadInteger(*call.arguments[3], trigger))) {
            return DISP_E_TYPEMISMATCH;
        }
        if (effect < 1 || trigger < 1 || trigger > kHighestTrigger) {
            return Raise(call, L"Sequence.AddEffect : Invalid enumeration value.");
        }
        ++slide.effects;
        if (trigger == kOnPageClick) {
            ++slide.clicks;
        }
        ObjectRef added = call.self;
        added.kind = ObjectKind::Effect;
        return ReturnObject(call, added);
    });
}

}  // namespace pptsim::members

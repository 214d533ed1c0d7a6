// Slide numbers and positions, hidden slides, and the range of slides a show keeps to.
#include "sim/MemberHandlers.h"

namespace pptsim::members {
namespace {

// PpSlideShowRangeType.
constexpr int kShowAll = 1;
constexpr int kShowSlideRange = 2;
constexpr int kShowNamedSlideShow = 3;
// MsoTriState.
constexpr int kTrue = -1;
constexpr int kFalse = 0;
// PowerPoint's "Number slides from" accepts 0 to 9999.
constexpr std::int64_t kHighestFirstSlideNumber = 9999;

}  // namespace

HRESULT PresentationPageSetup(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::PageSetup);
}

HRESULT PageSetupFirstSlideNumber(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](OpenPresentation& presentation) {
        return IntegerProperty(call, presentation.firstSlideNumber, [&](std::int64_t number) {
            if (number < 0 || number > kHighestFirstSlideNumber) {
                return Raise(call, L"PageSetup.FirstSlideNumber : Value out of range.");
            }
            presentation.firstSlideNumber = static_cast<int>(number);
            return S_OK;
        });
    });
}

HRESULT SlidesItem(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        std::size_t position = 0;
        const HRESULT read =
            ReadItemIndex(call, static_cast<std::size_t>(presentation.SlideCount()), position);
        if (FAILED(read)) {
            return read;
        }
        return ReturnObject(
            call, {ObjectKind::Slide, 0, presentation.id, 0, presentation.slides[position].id});
    });
}

// "The starting slide number + the slide index number - 1".
HRESULT SlideSlideNumber(MemberCall& call) {
    return IfExists(call, SlideOfCall(call), [&](const SlideContent& slide) {
        const OpenPresentation& presentation = *PresentationOfCall(call);
        return ReturnInteger(call,
                             presentation.firstSlideNumber + presentation.PositionOf(slide.id) - 1);
    });
}

HRESULT SlideSlideIndex(MemberCall& call) {
    return IfExists(call, SlideOfCall(call), [&](const SlideContent& slide) {
        return ReturnInteger(call, PresentationOfCall(call)->PositionOf(slide.id));
    });
}

HRESULT SlideShowTransitionHidden(MemberCall& call) {
    return IfExists(call, SlideOfCall(call), [&](SlideContent& slide) {
        return IntegerProperty(call, slide.hidden ? kTrue : kFalse, [&](std::int64_t hidden) {
            slide.hidden = hidden != kFalse;
            return S_OK;
        });
    });
}

HRESULT SlideShowSettingsRangeType(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](OpenPresentation& presentation) {
        const int type = presentation.runsNamedShow    ? kShowNamedSlideShow
                         : presentation.rangeStart > 0 ? kShowSlideRange
                                                       : kShowAll;
        return IntegerProperty(call, type, [&](std::int64_t written) {
            if (written != kShowAll && written != kShowSlideRange &&
                written != kShowNamedSlideShow) {
                return E_INVALIDARG;
            }
            presentation.runsNamedShow = written == kShowNamedSlideShow;
            if (written == kShowAll) {
                presentation.rangeStart = 0;
                presentation.rangeEnd = 0;
            }
            return S_OK;
        });
    });
}

HRESULT SlideShowSettingsSlideShowName(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](OpenPresentation& presentation) {
        if (!call.put) {
            return ReturnText(call, presentation.settingsShowName);
        }
        return ReadText(*call.arguments[0], presentation.settingsShowName) ? S_OK
                                                                           : DISP_E_TYPEMISMATCH;
    });
}

HRESULT SlideShowSettingsStartingSlide(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnInteger(call, presentation.rangeStart > 0 ? presentation.rangeStart : 1);
    });
}

HRESULT SlideShowSettingsEndingSlide(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnInteger(
            call, presentation.rangeStart > 0 ? presentation.rangeEnd : presentation.SlideCount());
    });
}

}  // namespace pptsim::members

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
    if (PresentationOfCall(call) == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnObject(call, {ObjectKind::PageSetup, 0, call.self.presentationId});
}

HRESULT PageSetupFirstSlideNumber(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    return IntegerProperty(call, presentation->firstSlideNumber, [&](std::int64_t number) {
        if (number < 0 || number > kHighestFirstSlideNumber) {
            return Raise(call, L"PageSetup.FirstSlideNumber : Value out of range.");
        }
        presentation->firstSlideNumber = static_cast<int>(number);
        return S_OK;
    });
}

HRESULT SlidesItem(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    std::size_t position = 0;
    const HRESULT read =
        ReadItemIndex(call, static_cast<std::size_t>(presentation->SlideCount()), position);
    if (FAILED(read)) {
        return read;
    }
    return ReturnObject(
        call, {ObjectKind::Slide, 0, presentation->id, 0, presentation->slides[position].id});
}

// "The starting slide number + the slide index number - 1".
HRESULT SlideSlideNumber(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (SlideOfCall(call) == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(
        call, presentation->firstSlideNumber + presentation->PositionOf(call.self.slideId) - 1);
}

HRESULT SlideSlideIndex(MemberCall& call) {
    if (SlideOfCall(call) == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, PresentationOfCall(call)->PositionOf(call.self.slideId));
}

HRESULT SlideShowTransitionHidden(MemberCall& call) {
    SlideContent* slide = SlideOfCall(call);
    if (slide == nullptr) {
        return Raise(call, kNoObject);
    }
    return IntegerProperty(call, slide->hidden ? kTrue : kFalse, [slide](std::int64_t hidden) {
        slide->hidden = hidden != kFalse;
        return S_OK;
    });
}

HRESULT SlideShowSettingsRangeType(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    const int type = presentation->runsNamedShow    ? kShowNamedSlideShow
                     : presentation->rangeStart > 0 ? kShowSlideRange
                                                    : kShowAll;
    return IntegerProperty(call, type, [presentation](std::int64_t written) {
        if (written != kShowAll && written != kShowSlideRange && written != kShowNamedSlideShow) {
            return E_INVALIDARG;
        }
        presentation->runsNamedShow = written == kShowNamedSlideShow;
        if (written == kShowAll) {
            presentation->rangeStart = 0;
            presentation->rangeEnd = 0;
        }
        return S_OK;
    });
}

HRESULT SlideShowSettingsSlideShowName(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    if (!call.put) {
        return ReturnText(call, presentation->settingsShowName);
    }
    return ReadText(*call.arguments[0], presentation->settingsShowName) ? S_OK
                                                                        : DISP_E_TYPEMISMATCH;
}

HRESULT SlideShowSettingsStartingSlide(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, presentation->rangeStart > 0 ? presentation->rangeStart : 1);
}

HRESULT SlideShowSettingsEndingSlide(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(
        call, presentation->rangeStart > 0 ? presentation->rangeEnd : presentation->SlideCount());
}

}  // namespace pptsim::members

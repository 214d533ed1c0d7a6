// Slide shows: running, moving and ending them, and the slide a show stands on.
#include "sim/MemberHandlers.h"

namespace pptsim::members {

HRESULT SlideShowWindowsCount(MemberCall& call) {
    return ReturnInteger(call, static_cast<std::int64_t>(call.state.Shows().size()));
}

HRESULT SlideShowWindowsItem(MemberCall& call) {
    std::size_t position = 0;
    const HRESULT read = ReadItemIndex(call, call.state.Shows().size(), position);
    if (FAILED(read)) {
        return read;
    }
    const RunningShow& show = call.state.Shows()[position];
    return ReturnObject(call, {ObjectKind::SlideShowWindow, 0, show.presentationId, show.id});
}

namespace {

// The show a window or view belongs to, with its presentation; null once the show has ended.
RunningShow* ShowOfCall(MemberCall& call, OpenPresentation** presentation) {
    RunningShow* show = call.state.FindShow(call.self.showId);
    if (show == nullptr) {
        return nullptr;
    }
    *presentation = call.state.FindPresentation(show->presentationId);
    return *presentation != nullptr ? show : nullptr;
}

}  // namespace

HRESULT SlideShowWindowPresentation(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    if (ShowOfCall(call, &presentation) == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnObject(call, {ObjectKind::Presentation, 0, presentation->id});
}

HRESULT SlideShowWindowView(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnObject(call, {ObjectKind::SlideShowView, 0, presentation->id, show->id});
}

HRESULT SlideShowViewSlide(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnObject(call, {ObjectKind::Slide, 0, presentation->id, 0, show->slide});
}

namespace {

// Moves a running show; the mover gets the show and the presentation's slide count.
template <typename Move>
HRESULT MoveShow(MemberCall& call, Move move) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    move(*show, presentation->SlideCount());
    return S_OK;
}

}  // namespace

// A normal (speaker) show ends after its last slide; it does not wrap around.
HRESULT SlideShowViewNext(MemberCall& call) {
    return MoveShow(call, [&call](RunningShow& show, int count) {
        if (show.slide >= count) {
            call.state.EndShow(show.id);
        } else {
            ++show.slide;
        }
    });
}

HRESULT SlideShowViewPrevious(MemberCall& call) {
    return MoveShow(call, [](RunningShow& show, int) {
        if (show.slide > 1) {
            --show.slide;
        }
    });
}

HRESULT SlideShowViewFirst(MemberCall& call) {
    return MoveShow(call, [](RunningShow& show, int) { show.slide = 1; });
}

HRESULT SlideShowViewLast(MemberCall& call) {
    return MoveShow(call, [](RunningShow& show, int count) { show.slide = count; });
}

HRESULT SlideShowViewExit(MemberCall& call) {
    return MoveShow(call, [&call](RunningShow& show, int) { call.state.EndShow(show.id); });
}

HRESULT SlideSlideNumber(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr || call.self.slideNumber > presentation->SlideCount()) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, call.self.slideNumber);
}

}  // namespace pptsim::members

// Slide shows: running, moving and ending them, and the slide a show stands on.
#include "sim/MemberHandlers.h"
#include "sim/ShowRange.h"

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

// What Slide gives on the end screen is not documented; the simulation fails the call, which is
// the harder case for a caller.
HRESULT SlideShowViewSlide(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    if (show->ended) {
        return Raise(call, L"SlideShowView.Slide : Invalid request.  There is no slide in view.");
    }
    return ReturnObject(call, {ObjectKind::Slide, 0, presentation->id, 0, show->slide});
}

namespace {

// PpSlideShowState.
constexpr int kShowRunning = 1;
constexpr int kShowDone = 5;

// Moves a running show; the mover gets the show and its presentation.
template <typename Move>
HRESULT MoveShow(MemberCall& call, Move move) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    move(*show, *presentation);
    return S_OK;
}

void StandOn(RunningShow& show, int position) {
    if (position != 0) {
        show.slide = position;
        show.ended = false;
    }
}

}  // namespace

// A normal (speaker) show skips hidden slides and keeps to its range; past the last shown
// slide it stands on the black end screen, and a further Next ends it. It never wraps around.
HRESULT SlideShowViewNext(MemberCall& call) {
    return MoveShow(call, [&call](RunningShow& show, const OpenPresentation& presentation) {
        if (show.ended) {
            call.state.EndShow(show.id);
            return;
        }
        const int next = ShownAfter(presentation, show.slide);
        if (next == 0) {
            show.ended = true;
        } else {
            show.slide = next;
        }
    });
}

// From the end screen back to the last shown slide; on the first shown slide nothing happens.
HRESULT SlideShowViewPrevious(MemberCall& call) {
    return MoveShow(call, [](RunningShow& show, const OpenPresentation& presentation) {
        if (show.ended) {
            StandOn(show, LastShown(presentation));
        } else {
            StandOn(show, ShownBefore(presentation, show.slide));
        }
    });
}

HRESULT SlideShowViewFirst(MemberCall& call) {
    return MoveShow(call, [](RunningShow& show, const OpenPresentation& presentation) {
        StandOn(show, FirstShown(presentation));
    });
}

HRESULT SlideShowViewLast(MemberCall& call) {
    return MoveShow(call, [](RunningShow& show, const OpenPresentation& presentation) {
        StandOn(show, LastShown(presentation));
    });
}

HRESULT SlideShowViewExit(MemberCall& call) {
    return MoveShow(
        call, [&call](RunningShow& show, const OpenPresentation&) { call.state.EndShow(show.id); });
}

HRESULT SlideShowViewState(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, show->ended ? kShowDone : kShowRunning);
}

// The position among the shown slides; on the end screen (not documented) one past the last.
HRESULT SlideShowViewCurrentShowPosition(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, ShowPositionOf(*presentation, show->slide) + (show->ended ? 1 : 0));
}

}  // namespace pptsim::members

// Slide shows: running, moving and ending them, the keyboard, the slide a show stands on, its
// builds and the custom show it runs.
#include "sim/MemberHandlers.h"
#include "sim/ShowRange.h"

namespace pptsim::members {
namespace {

// PpSlideShowState.
constexpr int kShowRunning = 1;
constexpr int kShowDone = 5;
// MsoTriState.
constexpr int kMsoTrue = -1;
constexpr int kMsoFalse = 0;

}  // namespace

HRESULT SlideShowWindowsCount(MemberCall& call) {
    return ReturnInteger(call, static_cast<std::int64_t>(call.state.Shows().size()));
}

HRESULT SlideShowWindowsItem(MemberCall& call) {
    std::size_t position = 0;
    const HRESULT read = ReadItemIndex(call, call.state.Shows().size(), position);
    if (FAILED(read)) {
        return read;
    }
    return ReturnShowWindow(call, &call.state.Shows()[position], kNoObject);
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

// The show window takes the keyboard (documented); see ModelState::HasKeyboard for when it has
// it without.
HRESULT SlideShowWindowActivate(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    call.state.GiveKeyboard(show->id);
    return S_OK;
}

// MsoTriState, as documented.
HRESULT SlideShowWindowActive(MemberCall& call) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, call.state.HasKeyboard(show->id) ? kMsoTrue : kMsoFalse);
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
    const int slideId = presentation->slides[static_cast<std::size_t>(show->slide - 1)].id;
    return ReturnObject(call, {ObjectKind::Slide, 0, presentation->id, 0, slideId});
}

namespace {

// Reads or moves the view's running show: use gets the show and its presentation.
template <typename Use>
HRESULT WithShow(MemberCall& call, Use use) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    return use(*show, *presentation);
}

int ClicksOf(const OpenPresentation& presentation, int position) {
    return presentation.slides[static_cast<std::size_t>(position - 1)].clicks;
}

// Shows the stop's slide with the builds played that the way there leaves: none going forward
// or jumping, all of them coming back. A stop that is none leaves the show where it is.
void StandOn(RunningShow& show, const OpenPresentation& presentation, ShowStop stop,
             bool fullyBuilt) {
    if (stop.slide != 0) {
        show.slide = stop.slide;
        show.step = stop.step;
        show.ended = false;
        show.click = fullyBuilt ? ClicksOf(presentation, stop.slide) : 0;
    }
}

}  // namespace

// A normal (speaker) show plays the slide's next build before it leaves the slide; it skips
// hidden slides and keeps to its range, or to its custom show's slides. Past the last one it
// stands on the black end screen, and a further Next ends it. It never wraps around.
HRESULT SlideShowViewNext(MemberCall& call) {
    return WithShow(call, [&call](RunningShow& show, const OpenPresentation& presentation) {
        if (show.ended) {
            call.state.EndShow(show.id);
        } else if (show.click < ClicksOf(presentation, show.slide)) {
            ++show.click;
        } else if (const ShowStop next = StopAfter(presentation, show); next.slide != 0) {
            StandOn(show, presentation, next, false);
        } else {
            show.ended = true;
            show.click = 0;
        }
        return S_OK;
    });
}

// Takes back the slide's last build played; on a slide without builds played, goes back to the
// previous slide fully built (from the end screen, to the last one). On the first slide with no
// build played nothing happens.
HRESULT SlideShowViewPrevious(MemberCall& call) {
    return WithShow(call, [](RunningShow& show, const OpenPresentation& presentation) {
        if (show.ended) {
            StandOn(show, presentation, LastStop(presentation, show), true);
        } else if (show.click > 0) {
            --show.click;
        } else {
            StandOn(show, presentation, StopBefore(presentation, show), true);
        }
        return S_OK;
    });
}

HRESULT SlideShowViewFirst(MemberCall& call) {
    return WithShow(call, [](RunningShow& show, const OpenPresentation& presentation) {
        StandOn(show, presentation, FirstStop(presentation, show), false);
        return S_OK;
    });
}

HRESULT SlideShowViewLast(MemberCall& call) {
    return WithShow(call, [](RunningShow& show, const OpenPresentation& presentation) {
        StandOn(show, presentation, LastStop(presentation, show), false);
        return S_OK;
    });
}

// GotoSlide(Index, [ResetSlide]): the slide by its position in the deck, hidden or not, with no
// build played. ResetSlide msoFalse (resume a slide's builds where they stopped) is accepted and
// played as msoTrue. In a custom show the slide must be one of its slides (a guess).
HRESULT SlideShowViewGotoSlide(MemberCall& call) {
    std::int64_t index = 0;
    std::int64_t reset = kMsoTrue;
    if (!ReadInteger(*call.arguments[0], index) ||
        (call.arguments.size() > 1 && !ReadInteger(*call.arguments[1], reset))) {
        return DISP_E_TYPEMISMATCH;
    }
    return WithShow(call, [&call, index](RunningShow& show, const OpenPresentation& presentation) {
        if (index < 1 || index > presentation.SlideCount()) {
            return Raise(call, L"SlideShowView.GotoSlide : Index out of bounds.");
        }
        ShowStop stop{static_cast<int>(index), 0};
        if (!show.namedShow.empty()) {
            stop.step = StepOf(NamedShowSlides(presentation, show.namedShow), stop.slide);
            if (stop.step == kOutsideNamedShow) {
                return Raise(call, L"SlideShowView.GotoSlide : The slide is not in the show.");
            }
        }
        StandOn(show, presentation, stop, false);
        return S_OK;
    });
}

HRESULT SlideShowViewExit(MemberCall& call) {
    return WithShow(call, [&call](RunningShow& show, const OpenPresentation&) {
        call.state.EndShow(show.id);
        return S_OK;
    });
}

HRESULT SlideShowViewState(MemberCall& call) {
    return WithShow(call, [&call](const RunningShow& show, const OpenPresentation&) {
        return ReturnInteger(call, show.ended ? kShowDone : kShowRunning);
    });
}

// The position among the shown slides (or the custom show's); on the end screen (not
// documented) one past the last.
HRESULT SlideShowViewCurrentShowPosition(MemberCall& call) {
    return WithShow(call, [&call](const RunningShow& show, const OpenPresentation& presentation) {
        return ReturnInteger(call, CurrentShowPosition(presentation, show));
    });
}

// How many of the slide's builds have played, and how many it has; 0 and 0 on the end screen
// (not documented).
HRESULT SlideShowViewGetClickIndex(MemberCall& call) {
    return WithShow(call, [&call](const RunningShow& show, const OpenPresentation&) {
        return ReturnInteger(call, show.ended ? 0 : show.click);
    });
}

HRESULT SlideShowViewGetClickCount(MemberCall& call) {
    return WithShow(call, [&call](const RunningShow& show, const OpenPresentation& presentation) {
        return ReturnInteger(call, show.ended ? 0 : ClicksOf(presentation, show.slide));
    });
}

HRESULT SlideShowViewIsNamedShow(MemberCall& call) {
    return WithShow(call, [&call](const RunningShow& show, const OpenPresentation&) {
        return ReturnInteger(call, show.namedShow.empty() ? kMsoFalse : kMsoTrue);
    });
}

// The custom show's name; empty for the deck's own show (not documented).
HRESULT SlideShowViewSlideShowName(MemberCall& call) {
    return WithShow(call, [&call](const RunningShow& show, const OpenPresentation&) {
        return ReturnText(call, show.namedShow);
    });
}

}  // namespace pptsim::members

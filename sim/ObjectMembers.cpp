#include "sim/ObjectMembers.h"

#include "sim/SimObject.h"

namespace pptsim {
namespace {

// PowerPoint raises its own errors through IDispatch as DISP_E_EXCEPTION with a message.
HRESULT Raise(MemberCall& call, const wchar_t* message) {
    call.failure = message;
    return DISP_E_EXCEPTION;
}

HRESULT ReturnObject(MemberCall& call, ObjectRef target) {
    if (call.result != nullptr) {
        target.instance = call.self.instance;
        call.result->vt = VT_DISPATCH;
        call.result->pdispVal = SimObject::Create(target);
    }
    return S_OK;
}

HRESULT ReturnInteger(MemberCall& call, std::int64_t value) {
    if (call.result != nullptr) {
        call.result->vt = VT_I4;
        call.result->lVal = static_cast<LONG>(value);
    }
    return S_OK;
}

HRESULT ReturnText(MemberCall& call, const std::wstring& text) {
    if (call.result != nullptr) {
        BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (copy == nullptr) {
            return E_OUTOFMEMORY;
        }
        call.result->vt = VT_BSTR;
        call.result->bstrVal = copy;
    }
    return S_OK;
}

// A collection index: any integer variant, as automation converts them.
bool ReadIndex(const VARIANT& argument, std::int64_t& index) {
    switch (argument.vt) {
        case VT_I4:
            index = argument.lVal;
            return true;
        case VT_INT:
            index = argument.intVal;
            return true;
        case VT_I2:
            index = argument.iVal;
            return true;
        case VT_UI1:
            index = argument.bVal;
            return true;
        case VT_UI4:
        case VT_UINT:
            index = argument.uintVal;
            return true;
        default:
            return false;
    }
}

// PowerPoint's collections answer an index out of range with E_INVALIDARG ("Integer out of
// range").
HRESULT ReadItemIndex(const MemberCall& call, std::size_t count, std::size_t& position) {
    std::int64_t index = 0;
    if (!ReadIndex(*call.arguments[0], index)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (index < 1 || static_cast<std::uint64_t>(index) > count) {
        return E_INVALIDARG;
    }
    position = static_cast<std::size_t>(index - 1);
    return S_OK;
}

constexpr const wchar_t* kNoObject = L"Object does not exist.";

// ---- Application --------------------------------------------------------------------------
HRESULT ApplicationActivePresentation(MemberCall& call) {
    OpenPresentation* active = call.state.ActivePresentation();
    if (active == nullptr) {
        return Raise(call,
                     L"Application.ActivePresentation : Invalid request.  There is no "
                     L"active presentation.");
    }
    return ReturnObject(call, {ObjectKind::Presentation, 0, active->id});
}

HRESULT ApplicationPresentations(MemberCall& call) {
    return ReturnObject(call, {ObjectKind::Presentations, 0});
}

HRESULT ApplicationSlideShowWindows(MemberCall& call) {
    return ReturnObject(call, {ObjectKind::SlideShowWindows, 0});
}

// ---- Presentations ------------------------------------------------------------------------
HRESULT PresentationsCount(MemberCall& call) {
    return ReturnInteger(call, static_cast<std::int64_t>(call.state.Presentations().size()));
}

HRESULT PresentationsItem(MemberCall& call) {
    std::size_t position = 0;
    const HRESULT read = ReadItemIndex(call, call.state.Presentations().size(), position);
    if (FAILED(read)) {
        return read;
    }
    return ReturnObject(call,
                        {ObjectKind::Presentation, 0, call.state.Presentations()[position].id});
}

// Open(FileName, [ReadOnly], [Untitled], [WithWindow]): the optional flags are accepted and
// every presentation opens in a window.
HRESULT PresentationsOpen(MemberCall& call) {
    const VARIANT& fileName = *call.arguments[0];
    if (fileName.vt != VT_BSTR) {
        return DISP_E_TYPEMISMATCH;
    }
    const std::wstring path(fileName.bstrVal != nullptr ? fileName.bstrVal : L"",
                            SysStringLen(fileName.bstrVal));
    OpenPresentation* opened = call.state.Open(path, call.frames);
    if (opened == nullptr) {
        return Raise(call, L"Presentations.Open : PowerPoint could not open the file.");
    }
    return ReturnObject(call, {ObjectKind::Presentation, 0, opened->id});
}

// ---- Presentation and what hangs off it -----------------------------------------------------
HRESULT PresentationFullName(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    return presentation != nullptr ? ReturnText(call, presentation->fullName)
                                   : Raise(call, kNoObject);
}

HRESULT ReturnPartOfPresentation(MemberCall& call, ObjectKind kind) {
    if (call.state.FindPresentation(call.self.presentationId) == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnObject(call, {kind, 0, call.self.presentationId});
}

HRESULT PresentationSlides(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::Slides);
}

HRESULT PresentationSlideShowSettings(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::SlideShowSettings);
}

HRESULT PresentationWindows(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::DocumentWindows);
}

HRESULT PresentationSlideShowWindow(MemberCall& call) {
    if (call.state.FindPresentation(call.self.presentationId) == nullptr) {
        return Raise(call, kNoObject);
    }
    RunningShow* show = call.state.ShowOf(call.self.presentationId);
    if (show == nullptr) {
        return Raise(call, L"Presentation.SlideShowWindow : Object does not exist.");
    }
    return ReturnObject(call, {ObjectKind::SlideShowWindow, 0, show->presentationId, show->id});
}

HRESULT SlidesCount(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    return presentation != nullptr ? ReturnInteger(call, presentation->slideCount)
                                   : Raise(call, kNoObject);
}

HRESULT SlideShowSettingsRun(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    if (presentation->slideCount < 1) {
        return Raise(call, L"SlideShowSettings.Run : No slides to show.");
    }
    RunningShow& show = call.state.RunShow(presentation->id);
    return ReturnObject(call, {ObjectKind::SlideShowWindow, 0, show.presentationId, show.id});
}

HRESULT DocumentWindowsItem(MemberCall& call) {
    if (call.state.FindPresentation(call.self.presentationId) == nullptr) {
        return Raise(call, kNoObject);
    }
    std::size_t position = 0;
    const HRESULT read = ReadItemIndex(call, 1, position);  // one window per presentation
    if (FAILED(read)) {
        return read;
    }
    return ReturnObject(call, {ObjectKind::DocumentWindow, 0, call.self.presentationId});
}

HRESULT DocumentWindowActivate(MemberCall& call) {
    if (call.state.FindPresentation(call.self.presentationId) == nullptr) {
        return Raise(call, kNoObject);
    }
    call.state.Activate(call.self.presentationId, call.frames);
    return S_OK;
}

// ---- Slide shows --------------------------------------------------------------------------
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

// The show a window or view belongs to, with its presentation; null once the show has ended.
RunningShow* ShowOfCall(MemberCall& call, OpenPresentation** presentation) {
    RunningShow* show = call.state.FindShow(call.self.showId);
    if (show == nullptr) {
        return nullptr;
    }
    *presentation = call.state.FindPresentation(show->presentationId);
    return *presentation != nullptr ? show : nullptr;
}

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

// Moves a running show; the mover gets the show and the presentation's slide count.
template <typename Move>
HRESULT MoveShow(MemberCall& call, Move move) {
    OpenPresentation* presentation = nullptr;
    RunningShow* show = ShowOfCall(call, &presentation);
    if (show == nullptr) {
        return Raise(call, kNoObject);
    }
    move(*show, presentation->slideCount);
    return S_OK;
}

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
    if (presentation == nullptr || call.self.slideNumber > presentation->slideCount) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, call.self.slideNumber);
}

constexpr bool kProperty = false;
constexpr bool kMethod = true;

}  // namespace

const char* ObjectKindName(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Application:
            return "Application";
        case ObjectKind::Presentations:
            return "Presentations";
        case ObjectKind::Presentation:
            return "Presentation";
        case ObjectKind::Slides:
            return "Slides";
        case ObjectKind::SlideShowSettings:
            return "SlideShowSettings";
        case ObjectKind::SlideShowWindows:
            return "SlideShowWindows";
        case ObjectKind::SlideShowWindow:
            return "SlideShowWindow";
        case ObjectKind::SlideShowView:
            return "SlideShowView";
        case ObjectKind::Slide:
            return "Slide";
        case ObjectKind::DocumentWindows:
            return "DocumentWindows";
        case ObjectKind::DocumentWindow:
            return "DocumentWindow";
    }
    return "?";
}

const std::vector<Member>& MembersOf(ObjectKind kind) {
    static const std::vector<Member> application = {
        {L"ActivePresentation", kProperty, 0, 0, ApplicationActivePresentation},
        {L"Presentations", kProperty, 0, 0, ApplicationPresentations},
        {L"SlideShowWindows", kProperty, 0, 0, ApplicationSlideShowWindows},
    };
    static const std::vector<Member> presentations = {
        {L"Count", kProperty, 0, 0, PresentationsCount},
        {L"Item", kMethod, 1, 1, PresentationsItem},
        {L"Open", kMethod, 1, 4, PresentationsOpen},
    };
    static const std::vector<Member> presentation = {
        {L"FullName", kProperty, 0, 0, PresentationFullName},
        {L"Slides", kProperty, 0, 0, PresentationSlides},
        {L"SlideShowSettings", kProperty, 0, 0, PresentationSlideShowSettings},
        {L"SlideShowWindow", kProperty, 0, 0, PresentationSlideShowWindow},
        {L"Windows", kProperty, 0, 0, PresentationWindows},
    };
    static const std::vector<Member> slides = {{L"Count", kProperty, 0, 0, SlidesCount}};
    static const std::vector<Member> slideShowSettings = {
        {L"Run", kMethod, 0, 0, SlideShowSettingsRun}};
    static const std::vector<Member> slideShowWindows = {
        {L"Count", kProperty, 0, 0, SlideShowWindowsCount},
        {L"Item", kMethod, 1, 1, SlideShowWindowsItem},
    };
    static const std::vector<Member> slideShowWindow = {
        {L"Presentation", kProperty, 0, 0, SlideShowWindowPresentation},
        {L"View", kProperty, 0, 0, SlideShowWindowView},
    };
    static const std::vector<Member> slideShowView = {
        {L"Slide", kProperty, 0, 0, SlideShowViewSlide},
        {L"Next", kMethod, 0, 0, SlideShowViewNext},
        {L"Previous", kMethod, 0, 0, SlideShowViewPrevious},
        {L"First", kMethod, 0, 0, SlideShowViewFirst},
        {L"Last", kMethod, 0, 0, SlideShowViewLast},
        {L"Exit", kMethod, 0, 0, SlideShowViewExit},
    };
    static const std::vector<Member> slide = {{L"SlideNumber", kProperty, 0, 0, SlideSlideNumber}};
    static const std::vector<Member> documentWindows = {
        {L"Item", kMethod, 1, 1, DocumentWindowsItem}};
    static const std::vector<Member> documentWindow = {
        {L"Activate", kMethod, 0, 0, DocumentWindowActivate}};

    switch (kind) {
        case ObjectKind::Application:
            return application;
        case ObjectKind::Presentations:
            return presentations;
        case ObjectKind::Presentation:
            return presentation;
        case ObjectKind::Slides:
            return slides;
        case ObjectKind::SlideShowSettings:
            return slideShowSettings;
        case ObjectKind::SlideShowWindows:
            return slideShowWindows;
        case ObjectKind::SlideShowWindow:
            return slideShowWindow;
        case ObjectKind::SlideShowView:
            return slideShowView;
        case ObjectKind::Slide:
            return slide;
        case ObjectKind::DocumentWindows:
            return documentWindows;
        case ObjectKind::DocumentWindow:
            return documentWindow;
    }
    return application;
}

}  // namespace pptsim

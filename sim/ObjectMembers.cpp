#include "sim/ObjectMembers.h"

#include "sim/DeckFile.h"
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
    return presentation != nullptr ? ReturnInteger(call, presentation->SlideCount())
                                   : Raise(call, kNoObject);
}

HRESULT SlideShowSettingsRun(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    if (presentation->SlideCount() < 1) {
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
    move(*show, presentation->SlideCount());
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
    if (presentation == nullptr || call.self.slideNumber > presentation->SlideCount()) {
        return Raise(call, kNoObject);
    }
    return ReturnInteger(call, call.self.slideNumber);
}

// ---- Making a deck ------------------------------------------------------------------------
// Automation passes MsoTriState and enumeration values as any integer variant, or as a boolean.
bool ReadInteger(const VARIANT& argument, std::int64_t& value) {
    if (argument.vt == VT_BOOL) {
        value = argument.boolVal != VARIANT_FALSE ? -1 : 0;
        return true;
    }
    return ReadIndex(argument, value);
}

bool ReadText(const VARIANT& argument, std::wstring& text) {
    if (argument.vt != VT_BSTR) {
        return false;
    }
    text.assign(argument.bstrVal != nullptr ? argument.bstrVal : L"",
                SysStringLen(argument.bstrVal));
    return true;
}

// Add([WithWindow]): msoTrue (the default) shows the new presentation and makes it active.
HRESULT PresentationsAdd(MemberCall& call) {
    std::int64_t withWindow = -1;
    if (!call.arguments.empty() && !ReadInteger(*call.arguments[0], withWindow)) {
        return DISP_E_TYPEMISMATCH;
    }
    const OpenPresentation& added = call.state.AddUntitled(withWindow != 0, call.frames);
    return ReturnObject(call, {ObjectKind::Presentation, 0, added.id});
}

HRESULT PresentationName(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    const std::size_t separator = presentation->fullName.find_last_of(L"\\/");
    return ReturnText(call, separator == std::wstring::npos
                                ? presentation->fullName
                                : presentation->fullName.substr(separator + 1));
}

// SaveAs(FileName, [FileFormat], [EmbedTrueTypeFonts]): overwrites without asking; the
// format is accepted and the simulation's own deck file written.
HRESULT PresentationSaveAs(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    std::wstring path;
    if (!ReadText(*call.arguments[0], path)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (path.empty() || !WriteDeckFile(path, presentation->slides)) {
        return Raise(call, L"Presentation.SaveAs : PowerPoint can't save ^0 to ^1.");
    }
    presentation->fullName = path;
    return S_OK;
}

// Close(): at once, without asking to save; PowerPoint keeps running for its automation client.
HRESULT PresentationClose(MemberCall& call) {
    if (!call.state.Close(call.self.presentationId, call.frames)) {
        return Raise(call, kNoObject);
    }
    return S_OK;
}

// Add(Index, Layout): Index from 1 to Count + 1; the layouts are PpSlideLayout's 1 to 36.
HRESULT SlidesAdd(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    std::int64_t index = 0;
    std::int64_t layout = 0;
    if (!ReadInteger(*call.arguments[0], index) || !ReadInteger(*call.arguments[1], layout)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (index < 1 || index > presentation->SlideCount() + 1) {
        return Raise(call, L"Slides.Add : Index out of bounds.");
    }
    if (layout < 1 || layout > 36) {
        return Raise(call, L"Slides.Add : Invalid enumeration value.");
    }
    presentation->slides.insert(presentation->slides.begin() + (index - 1),
                                SlideContent{static_cast<int>(layout), L""});
    return ReturnObject(call, {ObjectKind::Slide, 0, presentation->id, 0, static_cast<int>(index)});
}

// The slide a slide, its shapes or its title's text belong to; null once it is gone.
SlideContent* SlideOfCall(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr || call.self.slideNumber < 1 ||
        call.self.slideNumber > presentation->SlideCount()) {
        return nullptr;
    }
    return &presentation->slides[static_cast<std::size_t>(call.self.slideNumber - 1)];
}

// Slide, Shapes, the title Shape and its TextFrame all lead on to the next object of the chain.
template <ObjectKind Next>
HRESULT ReturnPartOfSlide(MemberCall& call) {
    if (SlideOfCall(call) == nullptr) {
        return Raise(call, kNoObject);
    }
    ObjectRef next = call.self;
    next.kind = Next;
    return ReturnObject(call, next);
}

HRESULT ShapesTitle(MemberCall& call) {
    SlideContent* slide = SlideOfCall(call);
    if (slide == nullptr) {
        return Raise(call, kNoObject);
    }
    if (slide->layout == kLayoutBlank) {
        return Raise(call, L"Shapes.Title : Invalid request.  This placeholder does not exist.");
    }
    return ReturnPartOfSlide<ObjectKind::Shape>(call);
}

HRESULT TextRangeText(MemberCall& call) {
    SlideContent* slide = SlideOfCall(call);
    if (slide == nullptr) {
        return Raise(call, kNoObject);
    }
    if (!call.put) {
        return ReturnText(call, slide->title);
    }
    return ReadText(*call.arguments[0], slide->title) ? S_OK : DISP_E_TYPEMISMATCH;
}

constexpr MemberKind kProperty = MemberKind::Property;
constexpr MemberKind kWritable = MemberKind::WritableProperty;
constexpr MemberKind kMethod = MemberKind::Method;

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
        case ObjectKind::Shapes:
            return "Shapes";
        case ObjectKind::Shape:
            return "Shape";
        case ObjectKind::TextFrame:
            return "TextFrame";
        case ObjectKind::TextRange:
            return "TextRange";
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
        {L"Add", kMethod, 0, 1, PresentationsAdd},
    };
    static const std::vector<Member> presentation = {
        {L"FullName", kProperty, 0, 0, PresentationFullName},
        {L"Slides", kProperty, 0, 0, PresentationSlides},
        {L"SlideShowSettings", kProperty, 0, 0, PresentationSlideShowSettings},
        {L"SlideShowWindow", kProperty, 0, 0, PresentationSlideShowWindow},
        {L"Windows", kProperty, 0, 0, PresentationWindows},
        {L"Name", kProperty, 0, 0, PresentationName},
        {L"SaveAs", kMethod, 1, 3, PresentationSaveAs},
        {L"Close", kMethod, 0, 0, PresentationClose},
    };
    static const std::vector<Member> slides = {{L"Count", kProperty, 0, 0, SlidesCount},
                                               {L"Add", kMethod, 2, 2, SlidesAdd}};
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
    static const std::vector<Member> slide = {
        {L"SlideNumber", kProperty, 0, 0, SlideSlideNumber},
        {L"Shapes", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::Shapes>},
    };
    static const std::vector<Member> shapes = {{L"Title", kProperty, 0, 0, ShapesTitle}};
    static const std::vector<Member> shape = {
        {L"TextFrame", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TextFrame>}};
    static const std::vector<Member> textFrame = {
        {L"TextRange", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TextRange>}};
    static const std::vector<Member> textRange = {{L"Text", kWritable, 0, 0, TextRangeText}};
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
        case ObjectKind::Shapes:
            return shapes;
        case ObjectKind::Shape:
            return shape;
        case ObjectKind::TextFrame:
            return textFrame;
        case ObjectKind::TextRange:
            return textRange;
    }
    return application;
}

}  // namespace pptsim

// What the member handlers of the simulated object model share: the calls that return a result
// or raise PowerPoint's error, the readers of automation arguments, and the handlers themselves,
// grouped by topic in ObjectMembers_*.cpp and listed by kind in ObjectMembers.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "sim/ModelState.h"
#include "sim/ObjectMembers.h"

namespace pptsim::members {

constexpr const wchar_t* kNoObject = L"Object does not exist.";

// PowerPoint raises its own errors through IDispatch as DISP_E_EXCEPTION with a message.
HRESULT Raise(MemberCall& call, const wchar_t* message);
HRESULT ReturnObject(MemberCall& call, ObjectRef target);
HRESULT ReturnInteger(MemberCall& call, std::int64_t value);
HRESULT ReturnText(MemberCall& call, const std::wstring& text);

// A collection index: any integer variant, as automation converts them.
bool ReadIndex(const VARIANT& argument, std::int64_t& index);
// PowerPoint's collections answer an index out of range with E_INVALIDARG ("Integer out of
// range").
HRESULT ReadItemIndex(const MemberCall& call, std::size_t count, std::size_t& position);
// Automation passes MsoTriState and enumeration values as any integer variant, or as a boolean.
bool ReadInteger(const VARIANT& argument, std::int64_t& value);
bool ReadText(const VARIANT& argument, std::wstring& text);

// ---- Application, presentations and their windows (ObjectMembers_Presentations.cpp) ----------
HRESULT ApplicationActivePresentation(MemberCall& call);
HRESULT ApplicationPresentations(MemberCall& call);
HRESULT ApplicationSlideShowWindows(MemberCall& call);
HRESULT ApplicationVersion(MemberCall& call);
HRESULT PresentationsCount(MemberCall& call);
HRESULT PresentationsItem(MemberCall& call);
HRESULT PresentationsOpen(MemberCall& call);
HRESULT PresentationFullName(MemberCall& call);
HRESULT PresentationReadOnly(MemberCall& call);
HRESULT PresentationSlides(MemberCall& call);
HRESULT PresentationSlideShowSettings(MemberCall& call);
HRESULT PresentationWindows(MemberCall& call);
HRESULT PresentationSlideShowWindow(MemberCall& call);
HRESULT SlidesCount(MemberCall& call);
HRESULT SlideShowSettingsRun(MemberCall& call);
HRESULT DocumentWindowsItem(MemberCall& call);
HRESULT DocumentWindowActivate(MemberCall& call);
HRESULT DocumentWindowWindowState(MemberCall& call);

// ---- Slide shows and the slides they show (ObjectMembers_Shows.cpp) --------------------------
HRESULT SlideShowWindowsCount(MemberCall& call);
HRESULT SlideShowWindowsItem(MemberCall& call);
HRESULT SlideShowWindowPresentation(MemberCall& call);
HRESULT SlideShowWindowView(MemberCall& call);
HRESULT SlideShowWindowActivate(MemberCall& call);
HRESULT SlideShowWindowActive(MemberCall& call);
HRESULT SlideShowViewSlide(MemberCall& call);
HRESULT SlideShowViewNext(MemberCall& call);
HRESULT SlideShowViewPrevious(MemberCall& call);
HRESULT SlideShowViewFirst(MemberCall& call);
HRESULT SlideShowViewLast(MemberCall& call);
HRESULT SlideShowViewExit(MemberCall& call);
HRESULT SlideShowViewState(MemberCall& call);
HRESULT SlideShowViewCurrentShowPosition(MemberCall& call);
HRESULT SlideShowViewGotoSlide(MemberCall& call);
HRESULT SlideShowViewGetClickIndex(MemberCall& call);
HRESULT SlideShowViewGetClickCount(MemberCall& call);
HRESULT SlideShowViewIsNamedShow(MemberCall& call);
HRESULT SlideShowViewSlideShowName(MemberCall& call);
HRESULT SlideSlideNumber(MemberCall& call);

// ---- Making a deck (ObjectMembers_Deck.cpp) -------------------------------------------------
HRESULT PresentationsAdd(MemberCall& call);
HRESULT PresentationName(MemberCall& call);
HRESULT PresentationSaveAs(MemberCall& call);
HRESULT PresentationClose(MemberCall& call);
HRESULT SlidesAdd(MemberCall& call);
HRESULT ShapesTitle(MemberCall& call);
HRESULT TextRangeText(MemberCall& call);

// ---- Slide numbers, hidden slides and the show's range (ObjectMembers_Numbering.cpp) ---------
HRESULT PresentationPageSetup(MemberCall& call);
HRESULT PageSetupFirstSlideNumber(MemberCall& call);
HRESULT SlidesItem(MemberCall& call);
HRESULT SlideSlideIndex(MemberCall& call);
HRESULT SlideShowTransitionHidden(MemberCall& call);
HRESULT SlideShowSettingsRangeType(MemberCall& call);
HRESULT SlideShowSettingsSlideShowName(MemberCall& call);
HRESULT SlideShowSettingsStartingSlide(MemberCall& call);
HRESULT SlideShowSettingsEndingSlide(MemberCall& call);

// ---- Decks in Protected View (ObjectMembers_ProtectedView.cpp) -------------------------------
HRESULT ApplicationProtectedViewWindows(MemberCall& call);
HRESULT ProtectedViewWindowsCount(MemberCall& call);
HRESULT ProtectedViewWindowsItem(MemberCall& call);
HRESULT ProtectedViewWindowPresentation(MemberCall& call);
HRESULT ProtectedViewWindowEdit(MemberCall& call);
HRESULT ProtectedViewWindowActivate(MemberCall& call);
HRESULT ProtectedViewWindowClose(MemberCall& call);

// ---- Slide IDs and custom shows (ObjectMembers_NamedShows.cpp) ------------------------------
HRESULT SlideSlideID(MemberCall& call);
HRESULT SlidesFindBySlideID(MemberCall& call);
HRESULT SlideShowSettingsNamedSlideShows(MemberCall& call);
HRESULT NamedSlideShowsCount(MemberCall& call);
HRESULT NamedSlideShowsItem(MemberCall& call);
HRESULT NamedSlideShowsAdd(MemberCall& call);
HRESULT NamedSlideShowName(MemberCall& call);
HRESULT NamedSlideShowSlideIDs(MemberCall& call);

// ---- Builds (ObjectMembers_Builds.cpp) -------------------------------------------------------
HRESULT SequenceCount(MemberCall& call);
HRESULT SequenceAddEffect(MemberCall& call);

// The presentation the called object belongs to; null once it is closed.
OpenPresentation* PresentationOfCall(MemberCall& call);
// The slide a slide, its shapes or its title's text belong to; null once it is gone.
SlideContent* SlideOfCall(MemberCall& call);

// What a member answers about the object the call names (its presentation, slide, custom
// show): answer(object) while it exists, PowerPoint's "Object does not exist." once it is gone.
template <typename Object, typename Answer>
HRESULT IfExists(MemberCall& call, Object* object, Answer answer) {
    return object != nullptr ? answer(*object) : Raise(call, kNoObject);
}

// An object of the presentation's own (its slides, settings, windows, page setup, custom shows),
// while the presentation is open.
HRESULT ReturnPartOfPresentation(MemberCall& call, ObjectKind part);

// The window of a running show; PowerPoint's failure message when there is none.
HRESULT ReturnShowWindow(MemberCall& call, const RunningShow* show, const wchar_t* failure);

// Presentations and ProtectedViewWindows: the decks out of Protected View or in it, in the
// order they were opened; Item gives each as an object of the kind.
HRESULT ReturnListedCount(MemberCall& call, bool protectedView);
HRESULT ReturnListedItem(MemberCall& call, bool protectedView, ObjectKind kind);

// A writable integer property: a read answers `value`; a write hands the new value to `write`,
// which answers as the member does (PowerPoint's error for a value out of its range).
template <typename Write>
HRESULT IntegerProperty(MemberCall& call, std::int64_t value, Write write) {
    if (!call.put) {
        return ReturnInteger(call, value);
    }
    std::int64_t written = 0;
    if (!ReadInteger(*call.arguments[0], written)) {
        return DISP_E_TYPEMISMATCH;
    }
    return write(written);
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

}  // namespace pptsim::members

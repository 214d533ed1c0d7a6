// Everything the plug-in asks of PowerPoint, named once: the ProgID it activates and the member
// names it calls late-bound. How its frame windows are recognised is named in
// support/PowerPointFrames.h, beside the window lookup that uses it.
//
// Member names are wide literals, as IDispatch takes them, so that no call converts a name and a
// name's spelling exists only here.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <iterator>

#include "platform/Platform.h"

namespace PowerPointSurface {

// Activation.
inline constexpr const wchar_t* kProgId = L"PowerPoint.Application";

// Application. Version is read only to ask whether PowerPoint itself still answers: the cheapest
// read it has.
inline constexpr const wchar_t* kActivePresentation = L"ActivePresentation";
inline constexpr const wchar_t* kVersion = L"Version";
inline constexpr const wchar_t* kPresentations = L"Presentations";
inline constexpr const wchar_t* kSlideShowWindows = L"SlideShowWindows";
// Decks opened from the internet or mail, outside Presentations until the presenter edits them.
inline constexpr const wchar_t* kProtectedViewWindows = L"ProtectedViewWindows";

// Collections (presentations, slide-show windows, slides, document windows).
inline constexpr const wchar_t* kCount = L"Count";
inline constexpr const wchar_t* kItem = L"Item";
inline constexpr const wchar_t* kOpen = L"Open";

// Presentation.
inline constexpr const wchar_t* kFullName = L"FullName";
inline constexpr const wchar_t* kSlideShowSettings = L"SlideShowSettings";
inline constexpr const wchar_t* kSlides = L"Slides";
inline constexpr const wchar_t* kWindows = L"Windows";
inline constexpr const wchar_t* kSlideShowWindow = L"SlideShowWindow";

// Slide-show settings.
inline constexpr const wchar_t* kRun = L"Run";

// Slide-show window. Whether it has the keyboard reads as an MsoTriState.
inline constexpr const wchar_t* kPresentation = L"Presentation";
inline constexpr const wchar_t* kView = L"View";
inline constexpr const wchar_t* kActive = L"Active";

// Slide-show view.
inline constexpr const wchar_t* kSlide = L"Slide";
inline constexpr const wchar_t* kFirst = L"First";
inline constexpr const wchar_t* kLast = L"Last";
inline constexpr const wchar_t* kNext = L"Next";
inline constexpr const wchar_t* kPrevious = L"Previous";
inline constexpr const wchar_t* kExit = L"Exit";
inline constexpr const wchar_t* kState = L"State";
// Builds: the click-triggered animations of the current slide, and how many have played.
inline constexpr const wchar_t* kGetClickCount = L"GetClickCount";
inline constexpr const wchar_t* kGetClickIndex = L"GetClickIndex";
// A custom show started from the ribbon, and its name.
inline constexpr const wchar_t* kIsNamedShow = L"IsNamedShow";
inline constexpr const wchar_t* kSlideShowName = L"SlideShowName";
// Where the show stands among the slides it shows, counted from 1 (a custom show's repeats count).
inline constexpr const wchar_t* kCurrentShowPosition = L"CurrentShowPosition";
// PpSlideShowState: the black screen after the last shown slide.
inline constexpr std::int32_t kShowDone = 5;

// Slide-show settings: the saved range a show keeps to.
inline constexpr const wchar_t* kRangeType = L"RangeType";
inline constexpr const wchar_t* kStartingSlide = L"StartingSlide";
inline constexpr const wchar_t* kEndingSlide = L"EndingSlide";
// PpSlideShowRangeType.
inline constexpr std::int32_t kShowSlideRange = 2;
// The custom shows (on the settings, as the reference puts them), each listing its slides' IDs.
inline constexpr const wchar_t* kNamedSlideShows = L"NamedSlideShows";
inline constexpr const wchar_t* kSlideIds = L"SlideIDs";

// Slide: its position in the deck (SlideNumber is the printed number, which may start at 0),
// and whether the show skips it.
inline constexpr const wchar_t* kSlideIndex = L"SlideIndex";
inline constexpr const wchar_t* kSlideId = L"SlideID";
inline constexpr const wchar_t* kSlideShowTransition = L"SlideShowTransition";
inline constexpr const wchar_t* kHidden = L"Hidden";
// MsoTriState.
inline constexpr std::int32_t kMsoFalse = 0;
inline constexpr std::int32_t kMsoTrue = -1;

// Document window, slide-show window and Protected View window: brought to the front (a show
// window with the keyboard).
inline constexpr const wchar_t* kActivate = L"Activate";
// Document window: minimised, maximised or neither (PpWindowState), read and written.
inline constexpr const wchar_t* kWindowState = L"WindowState";
inline constexpr std::int32_t kWindowNormal = 1;
inline constexpr std::int32_t kWindowMinimized = 2;

// The methods that only read what PowerPoint shows. Every other method, and every property write,
// may change it: such a call begins only while its outcome can still reach the key in time.
inline constexpr const wchar_t* kReadingMethods[] = {kItem, kGetClickCount, kGetClickIndex};

inline bool IsReadingMethod(const wchar_t* member) {
    return std::any_of(
        std::begin(kReadingMethods), std::end(kReadingMethods),
        [member](const wchar_t* reading) { return std::wcscmp(member, reading) == 0; });
}

}  // namespace PowerPointSurface

// Everything the plug-in asks of PowerPoint, named once: the ProgID it activates and the member
// names it calls late-bound. How its frame windows are recognised is named in
// support/PowerPointFrames.h, beside the window lookup that uses it.
//
// Member names stay narrow ASCII literals and are widened per call (WideMemberName), so
// that a name's spelling exists only here.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/Platform.h"

namespace PowerPointSurface {

// Activation.
inline constexpr const wchar_t* kProgId = L"PowerPoint.Application";

// Application. Version is read only to ask whether PowerPoint itself still answers: the cheapest
// read it has.
inline constexpr const char* kActivePresentation = "ActivePresentation";
inline constexpr const char* kVersion = "Version";
inline constexpr const char* kPresentations = "Presentations";
inline constexpr const char* kSlideShowWindows = "SlideShowWindows";
// Decks opened from the internet or mail, outside Presentations until the presenter edits them.
inline constexpr const char* kProtectedViewWindows = "ProtectedViewWindows";

// Collections (presentations, slide-show windows, slides, document windows).
inline constexpr const char* kCount = "Count";
inline constexpr const char* kItem = "Item";
inline constexpr const char* kOpen = "Open";

// Presentation.
inline constexpr const char* kFullName = "FullName";
inline constexpr const char* kSlideShowSettings = "SlideShowSettings";
inline constexpr const char* kSlides = "Slides";
inline constexpr const char* kWindows = "Windows";
inline constexpr const char* kSlideShowWindow = "SlideShowWindow";

// Slide-show settings.
inline constexpr const char* kRun = "Run";

// Slide-show window. Whether it has the keyboard reads as an MsoTriState.
inline constexpr const char* kPresentation = "Presentation";
inline constexpr const char* kView = "View";
inline constexpr const char* kActive = "Active";

// Slide-show view.
inline constexpr const char* kSlide = "Slide";
inline constexpr const char* kFirst = "First";
inline constexpr const char* kLast = "Last";
inline constexpr const char* kNext = "Next";
inline constexpr const char* kPrevious = "Previous";
inline constexpr const char* kExit = "Exit";
inline constexpr const char* kState = "State";
// Builds: the click-triggered animations of the current slide, and how many have played.
inline constexpr const char* kGetClickCount = "GetClickCount";
inline constexpr const char* kGetClickIndex = "GetClickIndex";
// A custom show started from the ribbon, and its name.
inline constexpr const char* kIsNamedShow = "IsNamedShow";
inline constexpr const char* kSlideShowName = "SlideShowName";
// Where the show stands among the slides it shows, counted from 1 (a custom show's repeats count).
inline constexpr const char* kCurrentShowPosition = "CurrentShowPosition";
// PpSlideShowState: the black screen after the last shown slide.
inline constexpr std::int32_t kShowDone = 5;

// Slide-show settings: the saved range a show keeps to.
inline constexpr const char* kRangeType = "RangeType";
inline constexpr const char* kStartingSlide = "StartingSlide";
inline constexpr const char* kEndingSlide = "EndingSlide";
// PpSlideShowRangeType.
inline constexpr std::int32_t kShowSlideRange = 2;
// The custom shows (on the settings, as the reference puts them), each listing its slides' IDs.
inline constexpr const char* kNamedSlideShows = "NamedSlideShows";
inline constexpr const char* kSlideIds = "SlideIDs";

// Slide: its position in the deck (SlideNumber is the printed number, which may start at 0),
// and whether the show skips it.
inline constexpr const char* kSlideIndex = "SlideIndex";
inline constexpr const char* kSlideId = "SlideID";
inline constexpr const char* kSlideShowTransition = "SlideShowTransition";
inline constexpr const char* kHidden = "Hidden";
// MsoTriState.
inline constexpr std::int32_t kMsoFalse = 0;
inline constexpr std::int32_t kMsoTrue = -1;

// Document window, slide-show window and Protected View window: brought to the front (a show
// window with the keyboard).
inline constexpr const char* kActivate = "Activate";
// Document window: minimised, maximised or neither (PpWindowState), read and written.
inline constexpr const char* kWindowState = "WindowState";
inline constexpr std::int32_t kWindowNormal = 1;
inline constexpr std::int32_t kWindowMinimized = 2;

// The methods that only read what PowerPoint shows. Every other method, and every property write,
// may change it: such a call begins only while its outcome can still reach the key in time.
inline constexpr const char* kReadingMethods[] = {kItem, kGetClickCount, kGetClickIndex};

// Whether a member name (wide, as it is called) is one of kReadingMethods.
inline bool IsReadingMethod(const std::wstring& member) {
    for (const char* reading : kReadingMethods) {
        if (member.size() == std::strlen(reading) &&
            std::equal(member.begin(), member.end(), reading,
                       [](wchar_t wide, char narrow) { return wide == wchar_t(narrow); })) {
            return true;
        }
    }
    return false;
}

// A member name widened into a fresh buffer of the literal's length plus one, as IDispatch
// wants it. ASCII maps byte for byte onto the same code units.
inline std::wstring WideMemberName(const char* name) {
    std::wstring wide(std::strlen(name) + 1, L'\0');
    std::size_t converted = 0;
    // A failed conversion leaves the buffer starting with zero: the name reads as empty and
    // the name lookup then fails like any unknown name.
    mbstowcs_s(&converted, &wide[0], wide.size(), name, _TRUNCATE);
    wide.resize(wide.find(L'\0'));
    return wide;
}

}  // namespace PowerPointSurface

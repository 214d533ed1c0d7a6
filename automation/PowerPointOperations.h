// The operations on PowerPoint's object model from which the worker's commands are built.
// Each is a short chain of late-bound calls; every failure becomes a plain sentinel (no
// object, -1, false or empty), never an error. Worker thread only. Objects are passed in
// without ownership; objects handed back are owned references.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DispatchPtr.h"
#include "platform/Platform.h"
#include "support/PowerPointWindows.h"

// "Count" of a collection; -1 on failure.
std::int32_t QueryCount(IDispatch* collection);
DispatchPtr QueryActivePresentation(IDispatch* application);
// "FullName" of a presentation up to its first zero; empty on failure.
std::wstring QueryFullName(IDispatch* presentation);
DispatchPtr QueryPresentations(IDispatch* application);
// The open presentation whose full name is path as Windows compares paths (ignoring case, no
// separator normalisation); none when there is none.
DispatchPtr FindPresentationByPath(IDispatch* presentations, const std::wstring& path);
// The slide-show window that starting the presentation's show gives; none on failure.
DispatchPtr RunSlideShow(IDispatch* presentation);
// Gives the show window the keyboard (SlideShowWindow.Activate): a show started from a background
// process may appear without it, and the presenter's clicker would then drive the program in
// front. Whether the window has it afterwards (Active); empty when that cannot be read.
std::optional<bool> ActivateSlideShowWindow(IDispatch* window);
bool IsPathInSlideShow(IDispatch* application, const std::wstring& path);
// The show the keys act on: the deck at path's own show window (Presentation.SlideShowWindow),
// with that deck; or, when that deck runs none (or no path is given), the first slide-show
// window, without its deck (QueryWindowPresentation reads it). None when no show runs.
struct CurrentShow {
    DispatchPtr window;
    DispatchPtr presentation;
};
CurrentShow QueryCurrentShow(IDispatch* application, const std::wstring& path);
DispatchPtr QueryFirstSlideShowWindow(IDispatch* application);
DispatchPtr QuerySlideShowView(IDispatch* application);
// The position in the deck (SlideIndex, from 1) of the slide a slide-show view shows; -1 on
// failure, which includes the end screen after the last shown slide.
std::int32_t QueryCurrentSlidePosition(IDispatch* view);
// The view's PpSlideShowState (ppSlideShowDone on the end screen); -1 on failure.
std::int32_t QueryShowState(IDispatch* view);
// Whether the show shows a slide after (step 1) or before (step -1) the slide at position:
// one that is not hidden, within the saved range. Reads the hidden flags nearest first and
// stops at the first shown slide. Empty when PowerPoint cannot say.
std::optional<bool> IsSlideShownBeside(IDispatch* presentation, std::int32_t position,
                                       std::int32_t step);
// Whether the current slide is the last one the show shows (step 1) or the first (step -1): the
// deck's own show by its range and hidden slides, a custom show by the position among its own
// slides (false on a slide outside it, where a hyperlink took the show). Empty when PowerPoint
// cannot say.
std::optional<bool> IsAtEdgeOfShow(IDispatch* view, IDispatch* presentation, std::int32_t step);
// Whether the current slide has builds left to play (step 1) or played that can be taken back
// (step -1); false when PowerPoint cannot say.
bool HasBuildsToward(IDispatch* view, std::int32_t step);
DispatchPtr QueryWindowPresentation(IDispatch* slideShowWindow);
// The presentation's slide count (0 is valid); -1 on failure.
std::int32_t QuerySlideCount(IDispatch* presentation);
// Full names of the open presentations in collection order, empty names left out.
std::vector<std::wstring> CollectPresentationPaths(IDispatch* application);
// Activates the presentation's first document window when it is open (restored first when it is
// minimised), opens the file otherwise, and raises its frame window either way.
bool OpenOrActivatePresentation(IDispatch* application, const std::wstring& path);

// Whether PowerPoint itself has gone, given whether the calls of a command found that it may
// have (ServerLoss.h): then the application is asked, with one cheap read; it has gone when that
// read may say so too.
bool HasPowerPointGone(IDispatch* application, bool mayHaveGone);

// Raises the frame window of the presentation at path (support/PowerPointWindows.h), as a call
// that changes what PowerPoint shows: not at all once it could no longer answer in time.
bool RaisePresentationFrame(const std::wstring& path, IconicFrame iconic = IconicFrame::Leave);

// The member calls the slide-show commands make on objects the queries above found.
bool CallMethod(IDispatch* object, const wchar_t* member);
DispatchPtr ReadObject(IDispatch* object, const wchar_t* member);

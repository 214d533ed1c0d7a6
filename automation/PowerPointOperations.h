// The operations on PowerPoint's object model from which the worker's commands are built.
// Each is a short chain of late-bound calls; every failure becomes a plain sentinel (no
// object, -1, false or empty), never an error. Worker thread only. Objects are passed in
// without ownership; objects handed back are owned references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DispatchPtr.h"
#include "platform/Platform.h"

// "Count" of a collection; -1 on failure.
std::int32_t QueryCount(IDispatch* collection);
DispatchPtr QueryActivePresentation(IDispatch* application);
// "FullName" of a presentation up to its first zero; empty on failure.
std::wstring QueryFullName(IDispatch* presentation);
DispatchPtr QueryPresentations(IDispatch* application);
// The open presentation whose full name equals path exactly (no case folding, no separator
// normalisation); none when there is none.
DispatchPtr FindPresentationByPath(IDispatch* presentations, const std::wstring& path);
// The slide-show window that starting the presentation's show gives; none on failure.
DispatchPtr RunSlideShow(IDispatch* presentation);
bool IsPathInSlideShow(IDispatch* application, const std::wstring& path);
DispatchPtr QueryFirstSlideShowWindow(IDispatch* application);
DispatchPtr QuerySlideShowView(IDispatch* application);
// The number of the slide a slide-show view shows (from 1); -1 on failure.
std::int32_t QueryCurrentSlideNumber(IDispatch* view);
DispatchPtr QueryWindowPresentation(IDispatch* slideShowWindow);
// The presentation's slide count (0 is valid); -1 on failure.
std::int32_t QuerySlideCount(IDispatch* presentation);
// Full names of the open presentations in collection order, empty names left out.
std::vector<std::wstring> CollectPresentationPaths(IDispatch* application);
// Activates the presentation's first document window when it is open, opens the file
// otherwise, and raises its frame window either way.
bool OpenOrActivatePresentation(IDispatch* application, const std::wstring& path);

// The member calls the slide-show commands make on objects the queries above found.
bool CallMethod(IDispatch* object, const char* member);
DispatchPtr ReadObject(IDispatch* object, const char* member);

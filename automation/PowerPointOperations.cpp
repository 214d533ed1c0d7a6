#include "automation/PowerPointOperations.h"

#include <optional>
#include <utility>

#include "automation/LateBoundCalls.h"
#include "automation/PowerPointSurface.h"
#include "support/PowerPointWindows.h"
#include "support/PresentationPaths.h"

namespace ps = PowerPointSurface;

namespace {

std::wstring Member(const char* member) {
    return ps::WideMemberName(member);
}

std::int32_t ReadNumber(IDispatch* object, const char* member) {
    return ReadProperty(object, Member(member)).Integer().value_or(-1);
}

DispatchPtr CallItem(IDispatch* collection, std::int32_t index) {
    return CallMember(collection, Member(ps::kItem), {Argument::Integer(index)}).TakeObject();
}

// As Windows compares paths (ignoring case); an empty full name is what a failed read gives,
// so it never counts as a match.
bool IsSamePath(const std::wstring& fullName, const std::wstring& path) {
    return IsSamePresentationPath(fullName, path);
}

}  // namespace

DispatchPtr ReadObject(IDispatch* object, const char* member) {
    return ReadProperty(object, Member(member)).TakeObject();
}

bool CallMethod(IDispatch* object, const char* member) {
    return SUCCEEDED(CallWithoutAnswer(object, Member(member)));
}

bool HasPowerPointGone(IDispatch* application, ServerLoss found) {
    if (found != ServerLoss::ObjectDisconnected) {
        return found == ServerLoss::ServerGone;
    }
    TakeServerLoss();
    ReadProperty(application, Member(ps::kVersion));
    return TakeServerLoss() != ServerLoss::None;
}

std::int32_t QueryCount(IDispatch* collection) {
    return ReadNumber(collection, ps::kCount);
}

DispatchPtr QueryActivePresentation(IDispatch* application) {
    return ReadObject(application, ps::kActivePresentation);
}

std::wstring QueryFullName(IDispatch* presentation) {
    const std::wstring fullName =
        ReadProperty(presentation, Member(ps::kFullName)).Text().value_or(std::wstring());
    return fullName.substr(0, fullName.find(L'\0'));  // up to the first zero
}

DispatchPtr QueryPresentations(IDispatch* application) {
    return ReadObject(application, ps::kPresentations);
}

DispatchPtr FindPresentationByPath(IDispatch* presentations, const std::wstring& path) {
    const std::int32_t count = QueryCount(presentations);
    for (std::int32_t index = 1; index <= count; ++index) {
        DispatchPtr presentation = CallItem(presentations, index);
        if (!presentation) {
            break;
        }
        if (IsSamePath(QueryFullName(presentation.Get()), path)) {
            return presentation;
        }
    }
    return DispatchPtr();
}

DispatchPtr RunSlideShow(IDispatch* presentation) {
    DispatchPtr settings = ReadObject(presentation, ps::kSlideShowSettings);
    if (!settings) {
        return DispatchPtr();
    }
    return CallMember(settings.Get(), Member(ps::kRun)).TakeObject();
}

bool IsPathInSlideShow(IDispatch* application, const std::wstring& path) {
    DispatchPtr windows = ReadObject(application, ps::kSlideShowWindows);
    if (!windows) {
        return false;
    }
    const std::int32_t count = QueryCount(windows.Get());
    for (std::int32_t index = 1; index <= count; ++index) {
        DispatchPtr window = CallItem(windows.Get(), index);
        if (!window) {
            return false;
        }
        DispatchPtr presentation = ReadObject(window.Get(), ps::kPresentation);
        if (!presentation) {
            return false;
        }
        if (IsSamePath(QueryFullName(presentation.Get()), path)) {
            return true;
        }
    }
    return false;
}

DispatchPtr QueryFirstSlideShowWindow(IDispatch* application) {
    DispatchPtr windows = ReadObject(application, ps::kSlideShowWindows);
    if (!windows || QueryCount(windows.Get()) < 1) {
        return DispatchPtr();
    }
    return CallItem(windows.Get(), 1);
}

DispatchPtr QuerySlideShowView(IDispatch* application) {
    DispatchPtr window = QueryFirstSlideShowWindow(application);
    if (!window) {
        return DispatchPtr();
    }
    return ReadObject(window.Get(), ps::kView);
}

std::int32_t QueryCurrentSlidePosition(IDispatch* view) {
    DispatchPtr slide = ReadObject(view, ps::kSlide);
    if (!slide) {
        return -1;
    }
    return ReadNumber(slide.Get(), ps::kSlideIndex);
}

std::int32_t QueryShowState(IDispatch* view) {
    return ReadNumber(view, ps::kState);
}

std::optional<bool> IsSlideShownBeside(IDispatch* presentation, std::int32_t position,
                                       std::int32_t step) {
    DispatchPtr settings = ReadObject(presentation, ps::kSlideShowSettings);
    DispatchPtr slides = ReadObject(presentation, ps::kSlides);
    const std::int32_t rangeType = ReadNumber(settings.Get(), ps::kRangeType);
    if (!slides || rangeType < 0) {
        return std::nullopt;
    }
    // The end the walk stops at: the saved range's, or the deck's.
    std::int32_t end = -1;
    if (rangeType == ps::kShowSlideRange) {
        end = ReadNumber(settings.Get(), step > 0 ? ps::kEndingSlide : ps::kStartingSlide);
    } else {
        end = step > 0 ? QueryCount(slides.Get()) : 1;
    }
    if (end < 0) {
        return std::nullopt;
    }
    // Nearest first: usually the very next slide is shown and one slide is read.
    for (std::int32_t neighbour = position + step; step > 0 ? neighbour <= end : neighbour >= end;
         neighbour += step) {
        DispatchPtr slide = CallItem(slides.Get(), neighbour);
        DispatchPtr transition = ReadObject(slide.Get(), ps::kSlideShowTransition);
        const std::optional<std::int32_t> hidden =
            ReadProperty(transition.Get(), Member(ps::kHidden)).Integer();
        if (!hidden) {
            return std::nullopt;
        }
        if (*hidden == ps::kMsoFalse) {
            return true;
        }
    }
    return false;
}

DispatchPtr QueryWindowPresentation(IDispatch* slideShowWindow) {
    return ReadObject(slideShowWindow, ps::kPresentation);
}

std::int32_t QuerySlideCount(IDispatch* presentation) {
    DispatchPtr slides = ReadObject(presentation, ps::kSlides);
    if (!slides) {
        return -1;
    }
    return QueryCount(slides.Get());
}

std::vector<std::wstring> CollectPresentationPaths(IDispatch* application) {
    std::vector<std::wstring> paths;
    DispatchPtr presentations = QueryPresentations(application);
    if (!presentations) {
        return paths;
    }
    // Taken as unsigned, a failed count (-1) lets the fetching run to the first failing "Item".
    const auto count = static_cast<std::uint32_t>(QueryCount(presentations.Get()));
    std::vector<DispatchPtr> fetched;
    for (std::uint32_t index = 1; index <= count && index <= INT32_MAX; ++index) {
        DispatchPtr presentation = CallItem(presentations.Get(), static_cast<std::int32_t>(index));
        if (!presentation) {
            break;
        }
        fetched.push_back(std::move(presentation));
    }
    for (const DispatchPtr& presentation : fetched) {
        std::wstring fullName = QueryFullName(presentation.Get());
        if (!fullName.empty()) {
            paths.push_back(std::move(fullName));
        }
    }
    return paths;
}

namespace {

// Opens the file; true when PowerPoint answered with the opened presentation.
bool OpenPresentationFile(IDispatch* presentations, const std::wstring& path) {
    return static_cast<bool>(
        CallMember(presentations, Member(ps::kOpen), {Argument::Text(path)}).TakeObject());
}

bool ActivateFirstDocumentWindow(IDispatch* presentation) {
    DispatchPtr windows = ReadObject(presentation, ps::kWindows);
    if (!windows) {
        return false;
    }
    DispatchPtr window = CallItem(windows.Get(), 1);
    return window && CallMethod(window.Get(), ps::kActivate);
}

}  // namespace

bool OpenOrActivatePresentation(IDispatch* application, const std::wstring& path) {
    DispatchPtr presentations = QueryPresentations(application);
    if (!presentations) {
        return false;
    }
    DispatchPtr presentation = FindPresentationByPath(presentations.Get(), path);
    if (presentation) {
        if (!ActivateFirstDocumentWindow(presentation.Get())) {
            return false;
        }
        ActivatePresentationWindow(path);
        return true;
    }

    // Looked up afresh: no object is carried from one step of a command to the next.
    presentations = QueryPresentations(application);
    if (!presentations) {
        ActivatePresentationWindow(path);
        return false;
    }
    const bool opened = OpenPresentationFile(presentations.Get(), path);
    ActivatePresentationWindow(path);
    return opened;
}

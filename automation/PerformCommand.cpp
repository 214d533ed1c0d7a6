#include "automation/PerformCommand.h"

#include <optional>

#include "automation/CallBudget.h"
#include "automation/PowerPointEvents.h"
#include "automation/PowerPointOperations.h"
#include "automation/PowerPointSurface.h"
#include "support/PowerPointWindows.h"

namespace ps = PowerPointSurface;

namespace {

bool StartSlideShow(IDispatch* application) {
    DispatchPtr presentation = QueryActivePresentation(application);
    if (!presentation) {
        return false;
    }
    const std::wstring fullName = QueryFullName(presentation.Get());
    if (fullName.empty()) {
        return false;
    }
    RaisePresentationFrame(fullName);
    DispatchPtr show = RunSlideShow(presentation.Get());
    if (!show) {
        return false;
    }
    // The show runs whatever comes of this: the press has done its job.
    const std::optional<bool> hasKeyboard = ActivateSlideShowWindow(show.Get());
    if (hasKeyboard && !*hasKeyboard) {
        NoteShowWithoutKeyboard();
    }
    return true;
}

bool ExitSlideShow(IDispatch* application, const std::wstring& path) {
    DispatchPtr presentations = QueryPresentations(application);
    DispatchPtr presentation = FindPresentationByPath(presentations.Get(), path);
    if (!presentation) {
        return false;
    }
    DispatchPtr window = ReadObject(presentation.Get(), ps::kSlideShowWindow);
    if (!window) {
        return false;
    }
    DispatchPtr view = ReadObject(window.Get(), ps::kView);
    return view && CallMethod(view.Get(), ps::kExit);
}

enum class Direction { Forward, Backward };

// Next and previous move the current deck's show (PowerPoint's own steps: a build, a slide) and
// wrap round within the slides it shows: past the last shown slide to the first, before the
// first shown to the last, instead of running onto the end screen or doing nothing; a custom
// show wraps within its own slides. A slide's builds play before the wrap: next on the last
// slide plays what is left of them, prev on the first takes back those played. On the end screen
// (where the slide cannot be read) next goes to the first shown slide and prev to the last;
// PowerPoint's First and Last go to the shown ones, a custom show's to its own.
bool StepSlideShow(IDispatch* application, const std::wstring& path, Direction direction) {
    const bool forward = direction == Direction::Forward;
    const std::int32_t step = forward ? 1 : -1;
    CurrentShow show = QueryCurrentShow(application, path);
    DispatchPtr view = ReadObject(show.window.Get(), ps::kView);
    const std::int32_t state = QueryShowState(view.Get());
    if (state < 0) {
        return false;
    }
    if (state == ps::kShowDone) {
        return CallMethod(view.Get(), forward ? ps::kFirst : ps::kLast);
    }
    DispatchPtr presentation =
        show.presentation ? show.presentation : QueryWindowPresentation(show.window.Get());
    const std::optional<bool> atEdge = IsAtEdgeOfShow(view.Get(), presentation.Get(), step);
    if (!atEdge) {
        return false;
    }
    if (!*atEdge || HasBuildsToward(view.Get(), step)) {
        return CallMethod(view.Get(), forward ? ps::kNext : ps::kPrevious);
    }
    return CallMethod(view.Get(), forward ? ps::kFirst : ps::kLast);
}

bool JumpSlideShow(IDispatch* application, const std::wstring& path, const char* method) {
    DispatchPtr view = ReadObject(QueryCurrentShow(application, path).window.Get(), ps::kView);
    return view && CallMethod(view.Get(), method);
}

std::wstring GetActivePresentation(IDispatch* application) {
    DispatchPtr presentation = QueryActivePresentation(application);
    if (!presentation) {
        return std::wstring();
    }
    return QueryFullName(presentation.Get());
}

std::int32_t GetCurrentSlide(IDispatch* application, const std::wstring& path) {
    DispatchPtr view = ReadObject(QueryCurrentShow(application, path).window.Get(), ps::kView);
    if (!view) {
        return -1;
    }
    return QueryCurrentSlidePosition(view.Get());
}

std::int32_t GetSlideCount(IDispatch* application, const std::wstring& path) {
    DispatchPtr presentations = QueryPresentations(application);
    DispatchPtr presentation = FindPresentationByPath(presentations.Get(), path);
    const std::int32_t count = QuerySlideCount(presentation.Get());
    return count >= 1 ? count : -1;
}

}  // namespace

WorkerResult PerformCommand(IDispatch* application, PowerPointCommand command,
                            const std::wstring& argument) {
    if (application == nullptr) {
        return FailureResultOf(command);
    }
    switch (command) {
        case PowerPointCommand::IsInSlideShow:
            return IsPathInSlideShow(application, argument);
        case PowerPointCommand::OpenPresentation:
            return OpenOrActivatePresentation(application, argument);
        case PowerPointCommand::StartSlideShow:
            return StartSlideShow(application);
        case PowerPointCommand::ExitSlideShow:
            return ExitSlideShow(application, argument);
        case PowerPointCommand::NextSlide:
            return StepSlideShow(application, argument, Direction::Forward);
        case PowerPointCommand::PreviousSlide:
            return StepSlideShow(application, argument, Direction::Backward);
        case PowerPointCommand::FirstSlide:
            return JumpSlideShow(application, argument, ps::kFirst);
        case PowerPointCommand::LastSlide:
            return JumpSlideShow(application, argument, ps::kLast);
        case PowerPointCommand::ClosePowerPoint:
            return CallBudget::ActInTime(ClosePowerPointWindows);
        case PowerPointCommand::GetActivePresentation:
            return GetActivePresentation(application);
        case PowerPointCommand::GetCurrentSlide:
            return GetCurrentSlide(application, argument);
        case PowerPointCommand::GetSlideCount:
            return GetSlideCount(application, argument);
        case PowerPointCommand::ListPresentations:
            return CollectPresentationPaths(application);
    }
    return std::int32_t{0};
}

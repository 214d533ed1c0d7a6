#include "automation/PerformCommand.h"

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
    ActivatePresentationWindow(fullName);
    return static_cast<bool>(RunSlideShow(presentation.Get()));
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

// Next and previous wrap round: past the last slide to the first, before the first to the
// last, instead of ending the show or doing nothing.
bool StepSlideShow(IDispatch* application, Direction direction) {
    DispatchPtr window = QueryFirstSlideShowWindow(application);
    DispatchPtr presentation = QueryWindowPresentation(window.Get());
    if (!presentation) {
        return false;
    }
    // Read twice, as two separate calls: the first checks there are slides, the second gives
    // the last slide number.
    if (QuerySlideCount(presentation.Get()) < 1) {
        return false;
    }
    const std::int32_t lastSlide = QuerySlideCount(presentation.Get());
    if (lastSlide < 1) {
        return false;
    }
    constexpr std::int32_t firstSlide = 1;
    DispatchPtr view = QuerySlideShowView(application);
    if (!view) {
        return false;
    }
    const std::int32_t currentSlide = QueryCurrentSlideNumber(view.Get());
    if (direction == Direction::Forward) {
        return CallMethod(view.Get(), currentSlide == lastSlide ? ps::kFirst : ps::kNext);
    }
    return CallMethod(view.Get(), currentSlide == firstSlide ? ps::kLast : ps::kPrevious);
}

bool JumpSlideShow(IDispatch* application, const char* method) {
    DispatchPtr view = QuerySlideShowView(application);
    return view && CallMethod(view.Get(), method);
}

std::wstring GetActivePresentation(IDispatch* application) {
    DispatchPtr presentation = QueryActivePresentation(application);
    if (!presentation) {
        return std::wstring();
    }
    return QueryFullName(presentation.Get());
}

std::int32_t GetCurrentSlide(IDispatch* application) {
    DispatchPtr view = QuerySlideShowView(application);
    if (!view) {
        return -1;
    }
    return QueryCurrentSlideNumber(view.Get());
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
            return StepSlideShow(application, Direction::Forward);
        case PowerPointCommand::PreviousSlide:
            return StepSlideShow(application, Direction::Backward);
        case PowerPointCommand::FirstSlide:
            return JumpSlideShow(application, ps::kFirst);
        case PowerPointCommand::LastSlide:
            return JumpSlideShow(application, ps::kLast);
        case PowerPointCommand::ClosePowerPoint:
            return ClosePowerPointWindows();
        case PowerPointCommand::GetActivePresentation:
            return GetActivePresentation(application);
        case PowerPointCommand::GetCurrentSlide:
            return GetCurrentSlide(application);
        case PowerPointCommand::GetSlideCount:
            return GetSlideCount(application, argument);
        case PowerPointCommand::ListPresentations:
            return CollectPresentationPaths(application);
    }
    return std::int32_t{0};
}

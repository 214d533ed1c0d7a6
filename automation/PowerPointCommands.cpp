#include "automation/PowerPointCommands.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

#include "automation/CallBudget.h"
#include "automation/PowerPointDiagnostics.h"
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
template <Direction direction>
bool StepSlideShow(IDispatch* application, const std::wstring& path) {
    constexpr bool forward = direction == Direction::Forward;
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

enum class End { First, Last };

template <End end>
bool JumpSlideShow(IDispatch* application, const std::wstring& path) {
    DispatchPtr view = ReadObject(QueryCurrentShow(application, path).window.Get(), ps::kView);
    return view && CallMethod(view.Get(), end == End::First ? ps::kFirst : ps::kLast);
}

bool ClosePowerPointFrames(IDispatch* /*application*/) {
    return CallBudget::ActInTime(ClosePowerPointWindows);
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

using Body = WorkerResult (*)(IDispatch* application, const std::wstring& argument);

// A body, whatever it answers, as the table holds it: with the command's argument, or without.
template <auto body>
WorkerResult WithArgument(IDispatch* application, const std::wstring& argument) {
    return body(application, argument);
}
template <auto body>
WorkerResult WithoutArgument(IDispatch* application, const std::wstring& /*argument*/) {
    return body(application);
}

struct CommandEntry {
    PowerPointCommand command;
    const char* name;
    WorkerResult failure;
    Body perform;
};

const WorkerResult kNoAnswer = false;
const WorkerResult kNoNumber = std::int32_t{-1};
const WorkerResult kNoName = std::wstring();
const WorkerResult kNoNames = std::vector<std::wstring>();

using Command = PowerPointCommand;

// By code, from 0.
const CommandEntry kCommands[] = {
    {Command::IsInSlideShow, "IsInSlideShow", kNoAnswer, WithArgument<IsPathInSlideShow>},
    {Command::OpenPresentation, "OpenPresentation", kNoAnswer,
     WithArgument<OpenOrActivatePresentation>},
    {Command::StartSlideShow, "StartSlideShow", kNoAnswer, WithoutArgument<StartSlideShow>},
    {Command::ExitSlideShow, "ExitSlideShow", kNoAnswer, WithArgument<ExitSlideShow>},
    {Command::NextSlide, "NextSlide", kNoAnswer, WithArgument<StepSlideShow<Direction::Forward>>},
    {Command::PreviousSlide, "PreviousSlide", kNoAnswer,
     WithArgument<StepSlideShow<Direction::Backward>>},
    {Command::FirstSlide, "FirstSlide", kNoAnswer, WithArgument<JumpSlideShow<End::First>>},
    {Command::LastSlide, "LastSlide", kNoAnswer, WithArgument<JumpSlideShow<End::Last>>},
    {Command::ClosePowerPoint, "ClosePowerPoint", kNoAnswer,
     WithoutArgument<ClosePowerPointFrames>},
    {Command::GetActivePresentation, "GetActivePresentation", kNoName,
     WithoutArgument<GetActivePresentation>},
    {Command::GetCurrentSlide, "GetCurrentSlide", kNoNumber, WithArgument<GetCurrentSlide>},
    {Command::GetSlideCount, "GetSlideCount", kNoNumber, WithArgument<GetSlideCount>},
    {Command::ListPresentations, "ListPresentations", kNoNames,
     WithoutArgument<CollectPresentationPaths>},
};

const CommandEntry* EntryOf(PowerPointCommand command) {
    const auto code = static_cast<std::size_t>(command);
    return code < std::size(kCommands) ? &kCommands[code] : nullptr;
}

}  // namespace

const char* PowerPointCommandName(PowerPointCommand command) {
    const CommandEntry* entry = EntryOf(command);
    return entry != nullptr ? entry->name : "UnknownCommand";
}

WorkerResult FailureResultOf(PowerPointCommand command) {
    const CommandEntry* entry = EntryOf(command);
    return entry != nullptr ? entry->failure : WorkerResult(std::int32_t{0});
}

WorkerResult PerformCommand(IDispatch* application, PowerPointCommand command,
                            const std::wstring& argument) {
    const CommandEntry* entry = EntryOf(command);
    if (entry == nullptr) {
        return std::int32_t{0};
    }
    return application != nullptr ? entry->perform(application, argument) : entry->failure;
}

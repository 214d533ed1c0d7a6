#include "automation/AutomationWorker.h"

#include <optional>
#include <utility>

#include "automation/CommandDiagnostics.h"
#include "automation/PowerPointCommands.h"
#include "automation/PowerPointDiagnostics.h"
#include "automation/PowerPointOperations.h"
#include "automation/ServerLoss.h"
#include "automation/UnansweredCalls.h"
#include "support/PowerPointWindows.h"

namespace {

// Only opening a presentation starts a PowerPoint that is not running: a PowerPoint started
// for anything else would have no presentation or show for it. The refresh never starts it.
// Every command may join a PowerPoint whose frame shows, except a refresh once such a join was
// refused: PowerPoint then runs at another integrity level, and asking again every refresh
// changes nothing.
Reach ReachFor(PowerPointCommand command, AutomationWorker::Patience patience, bool joinRefused) {
    if (command == PowerPointCommand::OpenPresentation) {
        return Reach::AttachJoinOrStart;
    }
    return joinRefused && patience == AutomationWorker::Patience::Refresh ? Reach::Attach
                                                                          : Reach::AttachOrJoin;
}

}  // namespace

AutomationWorker::AutomationWorker(std::chrono::milliseconds waitBound) : waitBound(waitBound) {}

AutomationWorker::~AutomationWorker() {
    Stop();
}

void AutomationWorker::Start() {
    worker.Start(
        [this](bool entered) {
            if (entered) {
                ConnectToPowerPoint();
            }
        },
        // Released before the thread leaves its apartment.
        [this] { application.Reset(); });
}

void AutomationWorker::Stop() {
    worker.Stop();
}

bool AutomationWorker::SubmitBool(PowerPointCommand command, const std::wstring& argument,
                                  Patience patience) {
    return std::get<bool>(Submit(command, argument, patience));
}

std::int32_t AutomationWorker::SubmitInt(PowerPointCommand command, const std::wstring& argument,
                                         Patience patience) {
    return std::get<std::int32_t>(Submit(command, argument, patience));
}

std::wstring AutomationWorker::SubmitString(const std::wstring& argument, Patience patience) {
    return std::get<std::wstring>(
        Submit(PowerPointCommand::GetActivePresentation, argument, patience));
}

bool AutomationWorker::IsStartingPowerPoint() const {
    return starts.AnyUnderWay();
}

bool AutomationWorker::IsStuck() const {
    return worker.IsStuck();
}

std::size_t AutomationWorker::QueuedRequests() const {
    return worker.QueuedJobs();
}

std::vector<std::wstring> AutomationWorker::SubmitList(const std::wstring& argument,
                                                       Patience patience) {
    return std::get<std::vector<std::wstring>>(
        Submit(PowerPointCommand::ListPresentations, argument, patience));
}

WorkerResult AutomationWorker::Submit(PowerPointCommand command, const std::wstring& argument,
                                      Patience patience) {
    const ApartmentJob::BusyPatience busyPatience =
        patience == Patience::Refresh ? ApartmentJob::BusyPatience(kRefreshBusyPatience)
                                      : std::nullopt;
    std::optional<WorkerResult> result = worker.Run<WorkerResult>(
        [this, command, argument, patience] { return Perform(command, argument, patience).result; },
        waitBound, busyPatience);
    return result ? std::move(*result) : FailureResultOf(command);
}

std::optional<bool> AutomationWorker::SubmitShowRunning(const std::wstring& path) {
    std::optional<std::optional<bool>> running = worker.Run<std::optional<bool>>(
        [this, path] {
            return PerformAnswered<bool>(PowerPointCommand::IsInSlideShow, path, Patience::Press);
        },
        waitBound);
    return running ? *running : std::nullopt;
}

AutomationWorker::KeyReading AutomationWorker::SubmitKeyReading(
    const std::wstring& currentPresentation) {
    std::optional<KeyReading> reading = worker.Run<KeyReading>(
        [this, currentPresentation] { return ReadKeys(currentPresentation); }, waitBound,
        ApartmentJob::BusyPatience(kRefreshBusyPatience));
    return reading ? std::move(*reading) : KeyReading{};
}

template <typename Value>
std::optional<Value> AutomationWorker::PerformAnswered(PowerPointCommand command,
                                                       const std::wstring& argument,
                                                       Patience patience) {
    Performed performed = Perform(command, argument, patience);
    if (!performed.answered) {
        return std::nullopt;
    }
    return std::get<Value>(std::move(performed.result));
}

// On the worker thread. A read PowerPoint did not answer ends the reading of its part: what
// follows would be read against an unknown.
AutomationWorker::KeyReading AutomationWorker::ReadKeys(const std::wstring& currentPresentation) {
    constexpr Patience patience = Patience::Refresh;
    using Paths = std::vector<std::wstring>;
    KeyReading reading;
    reading.presentations =
        PerformAnswered<Paths>(PowerPointCommand::ListPresentations, std::wstring(), patience);
    const std::optional<bool> running =
        PerformAnswered<bool>(PowerPointCommand::IsInSlideShow, currentPresentation, patience);
    if (!running) {
        return reading;
    }
    ShowReading show;
    show.running = *running;
    if (show.running) {
        const std::optional<std::int32_t> slide = PerformAnswered<std::int32_t>(
            PowerPointCommand::GetCurrentSlide, currentPresentation, patience);
        const std::optional<std::int32_t> count =
            slide ? PerformAnswered<std::int32_t>(PowerPointCommand::GetSlideCount,
                                                  currentPresentation, patience)
                  : std::nullopt;
        if (!count) {
            return reading;
        }
        show.slide = *slide;
        show.count = *count;
    } else {
        std::optional<std::wstring> active = PerformAnswered<std::wstring>(
            PowerPointCommand::GetActivePresentation, std::wstring(), patience);
        if (!active) {
            return reading;
        }
        show.active = std::move(*active);
    }
    reading.show = std::move(show);
    return reading;
}

// On the worker thread, when it starts: PowerPoint's application object, or none when it is not
// registered or cannot be started; its class once the lookup found it.
void AutomationWorker::ConnectToPowerPoint() {
    PowerPointActivation activation = ActivatePowerPoint(starts);
    if (FAILED(activation.lookup)) {
        NotePowerPointNotRegistered(activation.lookup);
        MessageBoxW(nullptr, L"CLSIDFromProgID() failed", L"Error",
                    MB_SETFOREGROUND | MB_ICONERROR);
        return;
    }
    powerPointClass = activation.classId;
    if (FAILED(activation.creation)) {
        NotePowerPointNotCreatable(activation.creation);
    }
    application = std::move(activation.application);
    NoteReach(activation.creation);
}

// On the worker thread, after PowerPoint was sought. A refused activation is said when it
// begins: once, and once more after PowerPoint was reached in between.
void AutomationWorker::NoteReach(HRESULT creation) {
    if (application) {
        joinRefused = false;
        return;
    }
    if (creation == S_FALSE) {
        return;  // no activation was tried
    }
    const bool refusedBefore = joinRefused;
    joinRefused = IsActivationRefused(creation) && AnyPowerPointFrame();
    if (joinRefused && !refusedBefore) {
        NotePowerPointActivationRefused(creation);
    }
}

// On the worker thread. A PowerPoint that has gone is let go after the command that found it
// gone, and taken again by the next command that needs it; so is the one the long press asked
// to close.
AutomationWorker::Performed AutomationWorker::Perform(PowerPointCommand command,
                                                      const std::wstring& argument,
                                                      Patience patience) {
    if (!application && powerPointClass) {
        Reacquisition reached =
            ReacquirePowerPoint(*powerPointClass, ReachFor(command, patience, joinRefused), starts);
        application = std::move(reached.application);
        NoteReach(reached.creation);
    }
    // Only what this command finds counts.
    TakeServerLoss();
    TakeUnansweredCalls();
    Performed performed;
    {
        CommandDiagnostics diagnostics(PowerPointCommandName(command),
                                       patience == Patience::Refresh);
        performed.result = PerformCommand(application.Get(), command, argument);
    }
    performed.answered = !TakeUnansweredCalls();
    if (HasPowerPointGone(application.Get(), TakeServerLoss())) {
        NotePowerPointGone();
        application.Reset();
    } else if (command == PowerPointCommand::ClosePowerPoint) {
        application.Reset();
    }
    return performed;
}

#include "automation/AutomationWorker.h"

#include <optional>
#include <utility>

#include "automation/CommandDiagnostics.h"
#include "automation/HResultNames.h"
#include "automation/PerformCommand.h"
#include "automation/PowerPointEvents.h"
#include "automation/PowerPointOperations.h"
#include "automation/ServerLoss.h"
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
        [this, command, argument, patience] { return Perform(command, argument, patience); },
        waitBound, busyPatience);
    return result ? std::move(*result) : FailureResultOf(command);
}

AutomationWorker::KeyReading AutomationWorker::SubmitKeyReading(
    const std::wstring& currentPresentation) {
    std::optional<KeyReading> reading = worker.Run<KeyReading>(
        [this, currentPresentation] { return ReadKeys(currentPresentation); }, waitBound,
        ApartmentJob::BusyPatience(kRefreshBusyPatience));
    return reading ? std::move(*reading) : KeyReading{};
}

// On the worker thread.
AutomationWorker::KeyReading AutomationWorker::ReadKeys(const std::wstring& currentPresentation) {
    constexpr Patience patience = Patience::Refresh;
    KeyReading reading;
    reading.presentations = std::get<std::vector<std::wstring>>(
        Perform(PowerPointCommand::ListPresentations, std::wstring(), patience));
    reading.running =
        std::get<bool>(Perform(PowerPointCommand::IsInSlideShow, currentPresentation, patience));
    if (reading.running) {
        reading.slide = std::get<std::int32_t>(
            Perform(PowerPointCommand::GetCurrentSlide, currentPresentation, patience));
        reading.count = std::get<std::int32_t>(
            Perform(PowerPointCommand::GetSlideCount, currentPresentation, patience));
    } else {
        reading.active = std::get<std::wstring>(
            Perform(PowerPointCommand::GetActivePresentation, std::wstring(), patience));
    }
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
    NoteActivation(activation.creation);
    application = std::move(activation.application);
}

// On the worker thread. A refusal across integrity levels is said once; a join that works again
// ends it.
void AutomationWorker::NoteActivation(HRESULT creation) {
    if (creation == S_FALSE) {
        return;  // none was tried
    }
    joinRefused = IsRefusedAcrossIntegrityLevels(creation) && AnyPowerPointFrame();
    if (joinRefused) {
        NotePowerPointAtOtherIntegrityLevel("activation failed with " + DescribeHResult(creation) +
                                            " while PowerPoint's window shows");
    }
}

// On the worker thread. A PowerPoint that has gone is let go after the command that found it
// gone, and taken again by the next command that needs it; so is the one the long press asked
// to close.
WorkerResult AutomationWorker::Perform(PowerPointCommand command, const std::wstring& argument,
                                       Patience patience) {
    if (!application && powerPointClass) {
        Reacquisition reached =
            ReacquirePowerPoint(*powerPointClass, ReachFor(command, patience, joinRefused), starts);
        application = std::move(reached.application);
        NoteActivation(reached.creation);
    }
    TakeServerLoss();  // only what this command finds counts
    WorkerResult result = [&] {
        CommandDiagnostics diagnostics(PowerPointCommandName(command),
                                       patience == Patience::Refresh);
        return PerformCommand(application.Get(), command, argument);
    }();
    if (HasPowerPointGone(application.Get(), TakeServerLoss())) {
        NotePowerPointGone();
        application.Reset();
    } else if (command == PowerPointCommand::ClosePowerPoint) {
        application.Reset();
    }
    return result;
}

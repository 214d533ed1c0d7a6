#include "automation/AutomationWorker.h"

#include <optional>
#include <utility>

#include "automation/AutomationDiagnostics.h"
#include "automation/PerformCommand.h"
#include "automation/PowerPointOperations.h"
#include "automation/ServerLoss.h"

namespace {

// PowerPoint's application object, or none when it is not registered or cannot be started;
// its class once the lookup found it.
DispatchPtr ConnectToPowerPoint(std::optional<CLSID>& powerPointClass, PowerPointStarts& starts) {
    PowerPointActivation activation = ActivatePowerPoint(starts);
    if (FAILED(activation.lookup)) {
        MessageBoxW(nullptr, L"CLSIDFromProgID() failed", L"Error",
                    MB_SETFOREGROUND | MB_ICONERROR);
        return DispatchPtr();
    }
    powerPointClass = activation.classId;
    if (FAILED(activation.creation)) {
        EmitDiagnostic(ComposeApplicationCreationFailure(activation.creation));
    }
    return std::move(activation.application);
}

// Only opening a presentation starts a PowerPoint that is not running: a PowerPoint started
// for anything else would have no presentation or show for it. The refresh never starts it.
bool MayStartPowerPoint(PowerPointCommand command) {
    return command == PowerPointCommand::OpenPresentation;
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
                application = ConnectToPowerPoint(powerPointClass, starts);
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
        [this, command, argument] { return Perform(command, argument); }, waitBound, busyPatience);
    return result ? std::move(*result) : FailureResultOf(command);
}

// On the worker thread. A PowerPoint that has gone is let go after the command that found it
// gone, and taken again by the next command that needs it; so is the one the long press asked
// to close.
WorkerResult AutomationWorker::Perform(PowerPointCommand command, const std::wstring& argument) {
    if (!application && powerPointClass) {
        application = ReacquirePowerPoint(*powerPointClass, MayStartPowerPoint(command), starts);
    }
    TakeServerLoss();  // only what this command finds counts
    WorkerResult result = PerformCommand(application.Get(), command, argument);
    if (HasPowerPointGone(application.Get(), TakeServerLoss())) {
        EmitDiagnostic("PowerPoint has gone; its reference is let go");
        application.Reset();
    } else if (command == PowerPointCommand::ClosePowerPoint) {
        application.Reset();
    }
    return result;
}

#include "automation/AutomationWorker.h"

#include <optional>
#include <utility>

#include "automation/CommandDiagnostics.h"
#include "automation/PerformCommand.h"
#include "automation/PowerPointActivation.h"
#include "automation/PowerPointEvents.h"
#include "automation/ServerLoss.h"

namespace {

// PowerPoint's application object, or none when it is not registered or cannot be started;
// its class once the lookup found it.
DispatchPtr ConnectToPowerPoint(std::optional<CLSID>& powerPointClass) {
    PowerPointActivation activation = ActivatePowerPoint();
    if (FAILED(activation.lookup)) {
        NotePowerPointNotRegistered(activation.lookup);
        MessageBoxW(nullptr, L"CLSIDFromProgID() failed", L"Error",
                    MB_SETFOREGROUND | MB_ICONERROR);
        return DispatchPtr();
    }
    powerPointClass = activation.classId;
    if (FAILED(activation.creation)) {
        NotePowerPointNotCreatable(activation.creation);
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
                application = ConnectToPowerPoint(powerPointClass);
            }
        },
        // Released before the thread leaves its apartment.
        [this] { application.Reset(); });
}

void AutomationWorker::Stop() {
    worker.Stop();
}

bool AutomationWorker::SubmitBool(PowerPointCommand command, const std::wstring& argument) {
    return std::get<bool>(Submit(command, argument));
}

std::int32_t AutomationWorker::SubmitInt(PowerPointCommand command, const std::wstring& argument) {
    return std::get<std::int32_t>(Submit(command, argument));
}

std::wstring AutomationWorker::SubmitString(const std::wstring& argument) {
    return std::get<std::wstring>(Submit(PowerPointCommand::GetActivePresentation, argument));
}

bool AutomationWorker::IsStartingPowerPoint() const {
    return worker.IsEntering();
}

std::size_t AutomationWorker::QueuedRequests() const {
    return worker.QueuedJobs();
}

std::vector<std::wstring> AutomationWorker::SubmitList(const std::wstring& argument) {
    return std::get<std::vector<std::wstring>>(
        Submit(PowerPointCommand::ListPresentations, argument));
}

WorkerResult AutomationWorker::Submit(PowerPointCommand command, const std::wstring& argument) {
    std::optional<WorkerResult> result = worker.Run<WorkerResult>(
        [this, command, argument] { return Perform(command, argument); }, waitBound);
    return result ? std::move(*result) : FailureResultOf(command);
}

// On the worker thread. A PowerPoint that has gone is let go after the command that found it
// gone, and taken again by the next command that needs it.
WorkerResult AutomationWorker::Perform(PowerPointCommand command, const std::wstring& argument) {
    if (!application && powerPointClass) {
        application = ReacquirePowerPoint(*powerPointClass, MayStartPowerPoint(command));
    }
    WorkerResult result = [&] {
        CommandDiagnostics diagnostics(PowerPointCommandName(command), IsRefreshRead(command));
        return PerformCommand(application.Get(), command, argument);
    }();
    if (TakeServerLoss()) {
        NotePowerPointGone();
        application.Reset();
    }
    return result;
}

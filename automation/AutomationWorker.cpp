#include "automation/AutomationWorker.h"

#include <optional>
#include <utility>

#include "automation/AutomationDiagnostics.h"
#include "automation/PerformCommand.h"
#include "automation/PowerPointActivation.h"

namespace {

// PowerPoint's application object, or none when it is not registered or cannot be started.
DispatchPtr ConnectToPowerPoint() {
    PowerPointActivation activation = ActivatePowerPoint();
    if (FAILED(activation.lookup)) {
        MessageBoxW(nullptr, L"CLSIDFromProgID() failed", L"Error",
                    MB_SETFOREGROUND | MB_ICONERROR);
    } else if (FAILED(activation.creation)) {
        EmitDiagnostic(ComposeApplicationCreationFailure(activation.creation));
    }
    return std::move(activation.application);
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
                application = ConnectToPowerPoint();
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
        [this, command, argument] { return PerformCommand(application.Get(), command, argument); },
        waitBound);
    return result ? std::move(*result) : FailureResultOf(command);
}

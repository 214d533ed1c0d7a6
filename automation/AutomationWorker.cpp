#include "automation/AutomationWorker.h"

#include <future>
#include <system_error>
#include <utility>

#include "automation/AutomationDiagnostics.h"
#include "automation/PowerPointCommands.h"
#include "automation/PowerPointOperations.h"
#include "automation/PowerPointSurface.h"
#include "automation/WorkerRequest.h"
#include "platform/ComApartment.h"

namespace {

// PowerPoint's application object, or none when it is not registered or cannot be started.
DispatchPtr ConnectToPowerPoint() {
    CLSID classId;
    if (FAILED(CLSIDFromProgID(PowerPointSurface::kProgId, &classId))) {
        MessageBoxW(nullptr, L"CLSIDFromProgID() failed", L"Error",
                    MB_SETFOREGROUND | MB_ICONERROR);
        return DispatchPtr();
    }
    DispatchPtr application;
    const HRESULT created = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                             reinterpret_cast<void**>(application.Receive()));
    if (FAILED(created)) {
        EmitDiagnostic(ComposeApplicationCreationFailure(created));
        return DispatchPtr();
    }
    return application;
}

}  // namespace

AutomationWorker::AutomationWorker(std::chrono::milliseconds waitBound) : waitBound(waitBound) {}

AutomationWorker::~AutomationWorker() {
    Stop();
}

void AutomationWorker::Start() {
    if (running.exchange(true)) {
        return;
    }
    startingPowerPoint = true;
    try {
        worker = std::thread(&AutomationWorker::PowerPointWorker, this);
    } catch (...) {
        startingPowerPoint = false;
        running = false;
        throw;
    }
}

void AutomationWorker::Stop() {
    if (worker.joinable() && worker.get_id() == std::this_thread::get_id()) {
        throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur));
    }
    std::deque<std::shared_ptr<WorkerRequest>> unserved;
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        running = false;
        unserved.swap(requestQueue);
    }
    wakeUp.notify_one();
    // Nobody is left waiting for a request that will never be performed.
    for (const std::shared_ptr<WorkerRequest>& request : unserved) {
        request->Deliver(FailureResultOf(request->Command()));
    }
    if (worker.joinable()) {
        worker.join();
    }
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

std::vector<std::wstring> AutomationWorker::SubmitList(const std::wstring& argument) {
    return std::get<std::vector<std::wstring>>(
        Submit(PowerPointCommand::ListPresentations, argument));
}

bool AutomationWorker::IsStartingPowerPoint() const {
    return startingPowerPoint;
}

std::size_t AutomationWorker::QueuedRequests() {
    std::lock_guard<std::mutex> lock(queueMutex);
    return requestQueue.size();
}

WorkerResult AutomationWorker::Submit(PowerPointCommand command, const std::wstring& argument) {
    auto request = std::make_shared<WorkerRequest>(command, argument);
    std::future<WorkerResult> result = request->ResultFuture();
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        const bool stuck = requestInProgress && requestInProgress->IsAbandoned();
        if (!running || stuck) {
            return FailureResultOf(command);
        }
        requestQueue.push_back(request);
    }
    wakeUp.notify_one();

    if (result.wait_for(waitBound) != std::future_status::ready && request->Abandon()) {
        return FailureResultOf(command);
    }
    return result.get();
}

void AutomationWorker::PowerPointWorker() {
    ComApartment apartment;
    // Declared after the apartment, so the reference is released before CoUninitialize.
    DispatchPtr application;
    if (apartment.Entered()) {
        application = ConnectToPowerPoint();
    }
    startingPowerPoint = false;
    while (std::shared_ptr<WorkerRequest> request = NextRequest()) {
        WorkerResult result =
            PerformCommand(application.Get(), request->Command(), request->Argument());
        FinishRequest();
        request->Deliver(std::move(result));
    }
}

// Blocks until a request is due or the worker is stopped (then none). Requests whose
// submitters have given up are dropped unperformed.
std::shared_ptr<WorkerRequest> AutomationWorker::NextRequest() {
    std::unique_lock<std::mutex> lock(queueMutex);
    for (;;) {
        wakeUp.wait(lock, [this] { return !requestQueue.empty() || !running; });
        if (!running) {
            return nullptr;
        }
        std::shared_ptr<WorkerRequest> request = std::move(requestQueue.front());
        requestQueue.pop_front();
        if (request->Begin()) {
            requestInProgress = request;
            return request;
        }
    }
}

void AutomationWorker::FinishRequest() {
    std::lock_guard<std::mutex> lock(queueMutex);
    requestInProgress.reset();
}

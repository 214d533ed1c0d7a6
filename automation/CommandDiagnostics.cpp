#include "automation/CommandDiagnostics.h"

#include <algorithm>
#include <utility>

#include "automation/AutomationDiagnostics.h"
#include "automation/RefreshFailureMemory.h"

namespace {

thread_local CommandDiagnostics* currentCommand = nullptr;

RefreshFailureMemory& ThreadRefreshMemory() {
    thread_local RefreshFailureMemory memory;
    return memory;
}

std::chrono::milliseconds InMilliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration);
}

}  // namespace

CommandDiagnostics::CommandDiagnostics(const char* command, bool refreshRead)
    : outer(currentCommand) {
    record.command = command;
    record.refreshRead = refreshRead;
    currentCommand = this;
}

CommandDiagnostics::~CommandDiagnostics() {
    currentCommand = outer;
    try {
        for (DiagnosticLine& line :
             ThreadRefreshMemory().LinesOf(record, DiagnosticsClock::now())) {
            WriteDiagnosticLine(std::move(line.text), line.when);
        }
    } catch (...) {
        // Out of memory: the command's lines are lost, the command is not.
    }
}

void ReportFailedCall(const std::string& text, HRESULT error,
                      std::chrono::steady_clock::duration waited) noexcept {
    try {
        if (currentCommand == nullptr) {
            EmitDiagnostic(text);
            return;
        }
        currentCommand->record.failedCalls.push_back(
            {DiagnosticsClock::now(), text, error, InMilliseconds(waited)});
    } catch (...) {
        // Out of memory: the call's line is lost, the call's result is not.
    }
}

void ReportTakenCall() noexcept {
    if (currentCommand != nullptr) {
        ++currentCommand->record.takenCalls;
    }
}

void ReportBusyRetries(int retries, std::chrono::steady_clock::duration waited) noexcept {
    if (currentCommand != nullptr && retries > 0) {
        currentCommand->record.busyRetries += retries;
        currentCommand->record.busyWait += InMilliseconds(waited);
    }
}

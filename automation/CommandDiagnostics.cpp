#include "automation/CommandDiagnostics.h"

#include <algorithm>
#include <utility>

#include "automation/AutomationDiagnostics.h"
#include "automation/HResultNames.h"

namespace {

// A command whose every call fails (PowerPoint gone mid-way) writes this many and a count.
constexpr std::size_t kMostFailedCallLines = 8;

thread_local CommandDiagnostics* currentCommand = nullptr;

RefreshFailureMemory& ThreadRefreshMemory() {
    thread_local RefreshFailureMemory memory;
    return memory;
}

std::chrono::milliseconds InMilliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration);
}

std::string FailedCallLine(const std::string& command, const FailedCall& call) {
    const std::string name = HResultName(call.error);
    return command + ": " + WithoutLineEnd(call.text) + (name.empty() ? "" : " (" + name + ")") +
           " after " + std::to_string(call.waited.count()) + " ms";
}

// What a repeated failure is recognised by: the same calls failing with the same codes.
std::string FailureSignature(const CommandRecord& record) {
    std::string signature;
    for (const FailedCall& call : record.failedCalls) {
        signature += WithoutLineEnd(call.text) + '\n';
    }
    return signature;
}

}  // namespace

RefreshFailureMemory::Change RefreshFailureMemory::Note(const CommandRecord& record) {
    const auto last = lastFailure.find(record.command);
    const bool failedBefore = last != lastFailure.end();
    if (!record.failedCalls.empty()) {
        const std::string signature = FailureSignature(record);
        if (failedBefore && last->second == signature) {
            return Change::None;
        }
        lastFailure[record.command] = signature;
        return Change::FailsAnew;
    }
    // Without a call taken there was no PowerPoint to ask: that is not working again.
    if (failedBefore && record.takenCalls > 0) {
        lastFailure.erase(last);
        return Change::WorksAgain;
    }
    return Change::None;
}

std::vector<DiagnosticLine> RefreshFailureMemory::LinesOf(const CommandRecord& record,
                                                          DiagnosticsClock::time_point ended) {
    std::vector<DiagnosticLine> lines;
    const std::string& command = record.command;
    const bool failed = !record.failedCalls.empty();
    const Change change = record.refreshRead ? Note(record) : Change::None;
    if (record.refreshRead && failed && change == Change::None) {
        return lines;  // written when it began
    }
    if (change == Change::WorksAgain) {
        lines.push_back({ended, command + ": works again"});
    }
    const std::size_t written = std::min(record.failedCalls.size(), kMostFailedCallLines);
    for (std::size_t index = 0; index < written; ++index) {
        const FailedCall& call = record.failedCalls[index];
        lines.push_back({call.when, FailedCallLine(command, call)});
    }
    if (record.failedCalls.size() > written) {
        lines.push_back({ended, command + ": " +
                                    std::to_string(record.failedCalls.size() - written) +
                                    " more calls failed"});
    }
    if (record.busyRetries > 0) {
        lines.push_back({ended, command + ": PowerPoint was busy: calls made again " +
                                    std::to_string(record.busyRetries) + " times, " +
                                    std::to_string(record.busyWait.count()) + " ms in all"});
    }
    if (change == Change::FailsAnew) {
        lines.push_back(
            {ended, command + ": a refresh read; written again once it works or fails otherwise"});
    }
    return lines;
}

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

const char* PowerPointCommandName(PowerPointCommand command) {
    switch (command) {
        case PowerPointCommand::IsInSlideShow:
            return "IsInSlideShow";
        case PowerPointCommand::OpenPresentation:
            return "OpenPresentation";
        case PowerPointCommand::StartSlideShow:
            return "StartSlideShow";
        case PowerPointCommand::ExitSlideShow:
            return "ExitSlideShow";
        case PowerPointCommand::NextSlide:
            return "NextSlide";
        case PowerPointCommand::PreviousSlide:
            return "PreviousSlide";
        case PowerPointCommand::FirstSlide:
            return "FirstSlide";
        case PowerPointCommand::LastSlide:
            return "LastSlide";
        case PowerPointCommand::ClosePowerPoint:
            return "ClosePowerPoint";
        case PowerPointCommand::GetActivePresentation:
            return "GetActivePresentation";
        case PowerPointCommand::GetCurrentSlide:
            return "GetCurrentSlide";
        case PowerPointCommand::GetSlideCount:
            return "GetSlideCount";
        case PowerPointCommand::ListPresentations:
            return "ListPresentations";
    }
    return "UnknownCommand";
}

bool IsRefreshRead(PowerPointCommand command) {
    switch (command) {
        case PowerPointCommand::IsInSlideShow:
        case PowerPointCommand::GetActivePresentation:
        case PowerPointCommand::GetCurrentSlide:
        case PowerPointCommand::GetSlideCount:
        case PowerPointCommand::ListPresentations:
            return true;
        default:
            return false;
    }
}

#include "automation/RefreshFailureMemory.h"

#include <algorithm>
#include <utility>

#include "automation/HResultNames.h"

namespace {

// A command whose every call fails (PowerPoint gone mid-way) writes this many and a count.
constexpr std::size_t kMostFailedCallLines = 8;

std::string FailedCallLine(const std::string& command, const FailedCall& call) {
    return WithHResultName(command + ": " + call.text, call.error) + " after " +
           std::to_string(call.waited.count()) + " ms";
}

// What a repeated failure is recognised by: the same calls failing with the same codes.
std::string FailureSignature(const CommandRecord& record) {
    std::string signature;
    for (const FailedCall& call : record.failedCalls) {
        signature += call.text + '\n';
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

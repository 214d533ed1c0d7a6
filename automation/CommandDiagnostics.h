// What one command of the PowerPoint worker met at PowerPoint, written to the plug-in's
// diagnostics file (support/DiagnosticsFile.h) once the command ends: each failed member call
// (the composed text, the HRESULT by name, how long the call waited) and how often a busy
// PowerPoint turned calls away before taking them. A refresh read that keeps failing the same way
// is written once, and once more when it works again: a PowerPoint that stays in one state must
// not fill the file at every refresh.
//
// The worker opens a scope on its own thread around each command; the invocation helper reports
// to the scope open on its thread. A failed call made outside any scope (tools, tests) writes its
// text to standard error, with GLYPHPAD_DEBUG=1 only.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "automation/PowerPointCommand.h"
#include "platform/Platform.h"
#include "support/DiagnosticsFile.h"

struct FailedCall {
    DiagnosticsClock::time_point when;
    std::string text;  // as ComposeInvokeFailure and ComposeNameLookupFailure compose it
    HRESULT error = S_OK;
    std::chrono::milliseconds waited{0};
};

struct CommandRecord {
    std::string command;
    bool refreshRead = false;
    std::vector<FailedCall> failedCalls;
    int takenCalls = 0;
    int busyRetries = 0;
    std::chrono::milliseconds busyWait{0};
};

struct DiagnosticLine {
    DiagnosticsClock::time_point when;
    std::string text;
};

// Which refresh reads failed last time, and how: what keeps a failing refresh to one line.
class RefreshFailureMemory {
public:
    // The lines an ended command writes, stamped `ended` unless they belong to a failed call.
    std::vector<DiagnosticLine> LinesOf(const CommandRecord& record,
                                        DiagnosticsClock::time_point ended);

private:
    enum class Change { None, FailsAnew, WorksAgain };
    // Remembers how a refresh read ended; what changed since it last ended.
    Change Note(const CommandRecord& record);

    std::map<std::string, std::string> lastFailure;  // by command: its failed calls' texts
};

class CommandDiagnostics {
public:
    CommandDiagnostics(const char* command, bool refreshRead);
    // Writes the command's lines.
    ~CommandDiagnostics();
    CommandDiagnostics(const CommandDiagnostics&) = delete;
    CommandDiagnostics& operator=(const CommandDiagnostics&) = delete;

private:
    friend void ReportFailedCall(const std::string&, HRESULT,
                                 std::chrono::steady_clock::duration) noexcept;
    friend void ReportTakenCall() noexcept;
    friend void ReportBusyRetries(int, std::chrono::steady_clock::duration) noexcept;

    CommandRecord record;
    CommandDiagnostics* const outer;
};

// From the invocation helper, on the thread that made the call. A failed call: its composed
// text, its code and how long it waited, retries included.
void ReportFailedCall(const std::string& text, HRESULT error,
                      std::chrono::steady_clock::duration waited) noexcept;
// A call PowerPoint took and answered.
void ReportTakenCall() noexcept;
// A call a busy PowerPoint turned away was made again `retries` times, over `waited`; nothing
// when retries is 0.
void ReportBusyRetries(int retries, std::chrono::steady_clock::duration waited) noexcept;

// The worker's names for its commands: "NextSlide", "IsInSlideShow", ...
const char* PowerPointCommandName(PowerPointCommand command);
// The commands the key refresh makes, which PowerPoint in a steady state fails the same way
// every time.
bool IsRefreshRead(PowerPointCommand command);

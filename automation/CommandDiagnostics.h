// What one command of the PowerPoint worker met at PowerPoint (CommandRecord.h), written to the
// plug-in's diagnostics file (support/DiagnosticsFile.h) once the command ends: each failed member
// call (the composed text, the HRESULT by name, how long the call waited) and how often a busy
// PowerPoint turned calls away before taking them; a refresh read that keeps failing the same way
// only once (RefreshFailureMemory.h).
//
// The worker opens a scope on its own thread around each command; the invocation helper reports
// to the scope open on its thread. A failed call made outside any scope (tools, tests) writes its
// text to standard error, with GLYPHPAD_DEBUG=1 only.
#pragma once

#include <chrono>
#include <string>

#include "automation/CommandRecord.h"
#include "platform/Platform.h"

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

// The lines an ended command writes to the diagnostics file, and what keeps a refresh that keeps
// failing the same way to one line: a PowerPoint that stays in one state must not fill the file
// at every refresh. A refresh read that fails is written once, and once more when it works again
// or fails otherwise; every other command's failures are written every time.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "automation/CommandRecord.h"
#include "support/DiagnosticsFile.h"

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

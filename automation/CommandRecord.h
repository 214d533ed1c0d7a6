// What one command of the PowerPoint worker met at PowerPoint while it ran: each failed member
// call and how often a busy PowerPoint turned calls away before taking them.
#pragma once

#include <chrono>
#include <string>
#include <vector>

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

// The step that checks, while the plug-in idles, that its threads answer a message sent to its
// windows. COM gives the worker's single-threaded apartment a window (message-only or
// top-level); a program that sends to it, a broadcast among them, waits until the worker
// dispatches its messages.
#pragma once

#include <chrono>
#include <vector>

#include "fieldcheck/StepResult.h"
#include "platform/ProcessWindows.h"

inline constexpr std::chrono::milliseconds kWindowAnswerBound{1000};

// The step as a tester reads it, from what the search could see (reachable) and what each window
// of the process answered.
StepResult DescribeWindowAnswers(DWORD processId, bool reachable,
                                 const std::vector<WindowAnswer>& answers,
                                 std::chrono::milliseconds bound);
// Finds every window of the process and sends each WM_NULL within the bound.
StepResult CheckWindowsAnswer(DWORD processId, std::chrono::milliseconds bound);

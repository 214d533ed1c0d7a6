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
// How long the windows are sent to, again and again: COM pumps the worker's messages while a
// call waits for PowerPoint, so a worker that does not pump while it idles still answers a send
// that comes just before the next key refresh (every 2 s). A span of the refresh period and the
// bound leaves it a gap longer than the bound.
inline constexpr std::chrono::milliseconds kWindowAnswerSpan{3000};

// The step as a tester reads it, from what the search could see (reachable) and what each window
// of the process answered.
StepResult DescribeWindowAnswers(DWORD processId, bool reachable,
                                 const std::vector<WindowAnswer>& answers,
                                 std::chrono::milliseconds bound, std::chrono::milliseconds span);
// Finds every window of the process and sends each WM_NULL, again and again for the span, each
// send within the bound.
StepResult CheckWindowsAnswer(DWORD processId, std::chrono::milliseconds bound,
                              std::chrono::milliseconds span);

// What each of the worker's commands is, in one table: its name in the diagnostics file, what it
// answers when it fails, cannot reach PowerPoint or is never performed, and how it performs (a
// body that turns it into calls on the object model and, for a few, on PowerPoint's frame
// windows). Worker thread only, but for the names and failure results.
#pragma once

#include <string>

#include "automation/PowerPointCommand.h"
#include "automation/WorkerResult.h"
#include "platform/Platform.h"

// "NextSlide", "IsInSlideShow", ...; "UnknownCommand" for a code outside the set.
const char* PowerPointCommandName(PowerPointCommand command);
// false, -1, the empty string or the empty list by the command's result type; the integer 0 for
// codes outside the set.
WorkerResult FailureResultOf(PowerPointCommand command);
// application may be null (PowerPoint unreachable): every command then yields its failure
// result without any call. Codes outside the command set yield the integer 0.
WorkerResult PerformCommand(IDispatch* application, PowerPointCommand command,
                            const std::wstring& argument);

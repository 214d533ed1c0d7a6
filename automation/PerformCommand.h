// The bodies of the worker's commands: each turns one PowerPointCommand into calls on the
// object model (and, for a few, on PowerPoint's frame windows). Worker thread only.
#pragma once

#include <string>

#include "automation/PowerPointCommand.h"
#include "automation/WorkerResult.h"
#include "platform/Platform.h"

// application may be null (PowerPoint unreachable): every command then yields its failure
// result without any call. Codes outside the command set yield the integer 0.
WorkerResult PerformCommand(IDispatch* application, PowerPointCommand command,
                            const std::wstring& argument);

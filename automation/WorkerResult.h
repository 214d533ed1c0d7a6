// What a worker command answers: an integer, a boolean, a wide string or a list of wide
// strings, in this order of alternatives.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "automation/PowerPointCommand.h"

using WorkerResult = std::variant<std::int32_t, bool, std::wstring, std::vector<std::wstring>>;

// The answer of a command that failed, could not reach PowerPoint, or was never performed:
// false, -1, the empty string or the empty list by the command's result type; the integer 0
// for codes outside the command set.
WorkerResult FailureResultOf(PowerPointCommand command);

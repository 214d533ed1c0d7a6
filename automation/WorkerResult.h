// What a worker command answers: an integer, a boolean, a wide string or a list of wide
// strings, in this order of alternatives.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

using WorkerResult = std::variant<std::int32_t, bool, std::wstring, std::vector<std::wstring>>;

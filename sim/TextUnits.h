// UTF-8 <-> UTF-16 code units for the simulation's own texts (scenario, trace). Malformed input
// becomes U+FFFD rather than failing: these texts only ever come from tests and scenario files.
#pragma once

#include <string>

namespace pptsim {

std::wstring Utf8ToUnits(const std::string& text);
std::string UnitsToUtf8(const std::wstring& units);

}  // namespace pptsim

#include "sim/ScenarioReading.h"

#include <algorithm>
#include <stdexcept>

#include "sim/TextUnits.h"

namespace pptsim {

using nlohmann::json;

void RejectScenario(const std::string& reason) {
    throw std::runtime_error(reason);
}

int ReadCount(const json& value, const std::string& what, int lowest) {
    if (!value.is_number_integer() || value.get<long long>() < lowest ||
        value.get<long long>() > 1000000) {
        RejectScenario(what + " must be an integer from " + std::to_string(lowest));
    }
    return value.get<int>();
}

std::wstring ReadText(const json& value, const std::string& what) {
    if (!value.is_string()) {
        RejectScenario(what + " must be a string");
    }
    return Utf8ToUnits(value.get<std::string>());
}

bool ReadFlag(const json& value, const std::string& what) {
    if (!value.is_boolean()) {
        RejectScenario(what + " must be true or false");
    }
    return value.get<bool>();
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace pptsim

// The readers every part of a scenario document is read with: each checks one JSON value and
// rejects the scenario (std::runtime_error with a one-line reason naming the member) when it is
// not what the member holds.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace pptsim {

[[noreturn]] void RejectScenario(const std::string& reason);

// An integer from lowest up to a million.
int ReadCount(const nlohmann::json& value, const std::string& what, int lowest);
std::wstring ReadText(const nlohmann::json& value, const std::string& what);
bool ReadFlag(const nlohmann::json& value, const std::string& what);

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name);

// The member key of the document as one of the words, each standing for a value; value stays
// as it is when the member is absent.
template <typename Value>
void ReadChoice(const nlohmann::json& document, const char* key,
                std::initializer_list<std::pair<const char*, Value>> words, Value& value) {
    if (!document.contains(key)) {
        return;
    }
    for (const auto& [word, meaning] : words) {
        if (document[key] == word) {
            value = meaning;
            return;
        }
    }
    std::string reason = std::string("\"") + key + "\" must be";
    const char* joint = " ";
    for (const auto& choice : words) {
        reason += std::string(joint) + "\"" + choice.first + "\"";
        joint = " or ";
    }
    RejectScenario(reason);
}

// The full names an array member of the document lists, each accepted by check(name, what,
// names so far), which rejects the scenario otherwise; none when the member is absent.
template <typename Check>
std::vector<std::wstring> ReadNames(const nlohmann::json& document, const char* member,
                                    Check check) {
    std::vector<std::wstring> names;
    if (!document.contains(member)) {
        return names;
    }
    const std::string what = std::string("\"") + member + "\"";
    if (!document[member].is_array()) {
        RejectScenario(what + " must be an array of full names");
    }
    for (const nlohmann::json& entry : document[member]) {
        std::wstring name = ReadText(entry, "each of " + what);
        check(name, what, names);
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace pptsim

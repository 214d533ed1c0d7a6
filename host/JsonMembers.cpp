#include "host/JsonMembers.h"

namespace {

const nlohmann::json* FindMember(const nlohmann::json& value, const std::string& name) {
    if (!value.is_object()) {
        return nullptr;
    }
    const auto found = value.find(name);
    return found == value.end() ? nullptr : &*found;
}

}  // namespace

std::string ReadStringMember(const nlohmann::json& value, const std::string& name,
                             const std::string& fallback) {
    const nlohmann::json* member = FindMember(value, name);
    if (member == nullptr || !member->is_string()) {
        return fallback;
    }
    return member->get<std::string>();
}

bool ReadObjectMember(const nlohmann::json& value, const std::string& name,
                      nlohmann::json& output) {
    const nlohmann::json* member = FindMember(value, name);
    if (member == nullptr || !member->is_object()) {
        return false;
    }
    output = *member;
    return true;
}

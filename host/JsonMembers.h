#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Host data may be missing or of the wrong type; these readers give a fallback instead of
// throwing, so every caller can treat "absent" and "wrong type" alike.

// The member's text if `value` is an object whose member `name` is a string, else `fallback`.
std::string ReadStringMember(const nlohmann::json& value, const std::string& name,
                             const std::string& fallback);

// Replaces `output` with a copy of member `name` and returns true only when that member exists
// and is an object; otherwise leaves `output` untouched and returns false.
bool ReadObjectMember(const nlohmann::json& value, const std::string& name, nlohmann::json& output);

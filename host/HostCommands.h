#pragma once

#include <string>

#include <nlohmann/json.hpp>

// The text of every message the plug-in sends to the host: compact JSON, members in ascending
// byte order, non-ASCII as raw UTF-8. Each throws the JSON library's type error when a string
// is not valid UTF-8, because such a message cannot be put on the wire.

std::string SerializeRegistration(const std::string& registerEvent, const std::string& pluginUUID);
std::string SerializeSetTitle(const std::string& title, const std::string& context);
std::string SerializeShowAlert(const std::string& context);
std::string SerializeSetState(int state, const std::string& context);
std::string SerializeSendToPropertyInspector(const std::string& action, const std::string& context,
                                             const nlohmann::json& payload);

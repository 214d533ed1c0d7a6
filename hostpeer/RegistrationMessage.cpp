#include "hostpeer/RegistrationMessage.h"

#include <nlohmann/json.hpp>

std::string RegistrationMessage(const std::string& registerEvent, const std::string& pluginUUID) {
    return nlohmann::json{{"event", registerEvent}, {"uuid", pluginUUID}}.dump();
}

#include "host/HostCommands.h"

namespace {

// nlohmann's default dump is exactly the wire form: no white space, sorted members (the object
// type is a std::map), UTF-8 kept as is, and a type error on invalid UTF-8.
std::string Compact(const nlohmann::json& message) {
    return message.dump();
}

nlohmann::json CommandFor(const char* event, const std::string& context) {
    nlohmann::json message = nlohmann::json::object();
    message["context"] = context;
    message["event"] = event;
    return message;
}

}  // namespace

std::string SerializeRegistration(const std::string& registerEvent, const std::string& pluginUUID) {
    nlohmann::json message = nlohmann::json::object();
    message["event"] = registerEvent;
    message["uuid"] = pluginUUID;
    return Compact(message);
}

std::string SerializeSetTitle(const std::string& title, const std::string& context) {
    nlohmann::json message = CommandFor("setTitle", context);
    nlohmann::json& payload = message["payload"];
    payload["target"] = 0;
    payload["title"] = title;
    return Compact(message);
}

std::string SerializeShowAlert(const std::string& context) {
    return Compact(CommandFor("showAlert", context));
}

std::string SerializeSetState(int state, const std::string& context) {
    nlohmann::json message = CommandFor("setState", context);
    message["payload"]["state"] = state;
    return Compact(message);
}

std::string SerializeSendToPropertyInspector(const std::string& action, const std::string& context,
                                             const nlohmann::json& payload) {
    nlohmann::json message = CommandFor("sendToPropertyInspector", context);
    message["action"] = action;
    message["payload"] = payload;
    return Compact(message);
}

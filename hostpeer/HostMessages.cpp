#include "hostpeer/HostMessages.h"

#include <nlohmann/json.hpp>

std::string KeyEventFrame(const std::string& event, std::string_view action,
                          const std::string& context, const nlohmann::json& settings) {
    const nlohmann::json frame{{"event", event},
                               {"action", std::string(action)},
                               {"context", context},
                               {"device", "BENCH-DEVICE"},
                               {"payload",
                                {{"settings", settings},
                                 {"coordinates", {{"column", 0}, {"row", 0}}},
                                 {"isInMultiAction", false}}}};
    return frame.dump();
}

std::optional<HostCommand> ParseHostCommand(const std::string& text) {
    const nlohmann::json frame = nlohmann::json::parse(text, nullptr, false);
    if (!frame.is_object()) {
        return std::nullopt;
    }
    HostCommand command;
    command.event = frame.value("event", "");
    command.context = frame.value("context", "");
    const auto payload = frame.find("payload");
    if (payload != frame.end() && payload->is_object()) {
        command.title = payload->value("title", "");
        command.state = payload->value("state", -1);
        const auto presentations = payload->find("presentations");
        if (presentations != payload->end() && presentations->is_array()) {
            for (const nlohmann::json& path : *presentations) {
                command.presentations.push_back(path.is_string() ? path.get<std::string>() : "");
            }
        }
    }
    return command;
}

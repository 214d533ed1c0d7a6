// The frames the loopback host sends, and the commands it reads back, in the host protocol's
// wire form.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An event about one key ("keyDown", "keyUp", "willAppear", "willDisappear"), shaped as the
// host application sends it: with a device, a payload and the key's settings.
std::string KeyEventFrame(const std::string& event, std::string_view action,
                          const std::string& context,
                          const nlohmann::json& settings = nlohmann::json::object());

struct HostCommand {
    std::string event;
    std::string context;
    std::string title;                       // setTitle only
    int state = -1;                          // setState only
    std::vector<std::string> presentations;  // sendToPropertyInspector only
};

// The command a frame holds; empty when the frame is not a JSON object.
std::optional<HostCommand> ParseHostCommand(const std::string& text);

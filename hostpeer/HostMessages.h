// The frames the bench host sends, and the commands it reads back, in the host protocol's
// wire form.
#pragma once

#include <optional>
#include <string>

extern const char* const kPlayAction;
extern const char* const kNextAction;

// An event about one key ("keyDown", "keyUp", "willAppear", "willDisappear"), shaped as the
// host application sends it: with a device, a payload and empty settings.
std::string KeyEventFrame(const std::string& event, const std::string& action,
                          const std::string& context);

// The registration the plug-in must send first, for the token and event name the bench uses.
std::string ExpectedRegistration();

struct HostCommand {
    std::string event;
    std::string context;
    std::string title;  // setTitle only
    int state = -1;     // setState only
};

// The command a frame holds; empty when the frame is not a JSON object.
std::optional<HostCommand> ParseHostCommand(const std::string& text);

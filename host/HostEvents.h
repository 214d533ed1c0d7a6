#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "host/KGPBasePlugin.h"

// The members that every incoming message is read for, whatever its event.
struct HostEvent {
    const nlohmann::json& message;
    std::string action;
    std::string context;
    std::string device;
    nlohmann::json payload;  // null unless the message's "payload" is an object
};

using HostEventHandler = void (*)(KGPBasePlugin& plugin, const HostEvent& event);

// The handler for an event name (exact, case-sensitive match), or nullptr for any other name.
HostEventHandler FindHostEventHandler(const std::string& eventName);

// Parses one text frame and calls the plug-in operation that its "event" names. Text that is not
// JSON throws the JSON library's exception (a parse error, or out_of_range for a number beyond a
// double), JSON nested too deeply to copy safely throws std::length_error; exceptions of the
// plug-in operation pass through.
void DispatchHostMessage(KGPBasePlugin& plugin, const std::string& text);

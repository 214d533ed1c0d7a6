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

// Parses one text frame and calls the plug-in operation that its "event" names. False when the
// frame was dropped unread: text that is not JSON (including a number beyond a double) or JSON
// nested too deeply to copy safely. Exceptions of the plug-in operation pass through.
bool DispatchHostMessage(KGPBasePlugin& plugin, const std::string& text);

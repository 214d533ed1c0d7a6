// The first frame a plug-in sends on the link, byte for byte as the host application expects it.
// Spelled here apart from the plug-in's own serializer (host/HostCommands.h) on purpose: the
// field check and the bench hold the plug-in's first frame against what the application
// expects, not against the code that made it.
#pragma once

#include <string>

// {"event":<registerEvent>,"uuid":<pluginUUID>}; both must be UTF-8.
std::string RegistrationMessage(const std::string& registerEvent, const std::string& pluginUUID);

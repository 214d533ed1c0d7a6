// The first frame a plug-in sends on the link, byte for byte as the host application expects it.
#pragma once

#include <string>

// {"event":<registerEvent>,"uuid":<pluginUUID>}; both must be UTF-8.
std::string RegistrationMessage(const std::string& registerEvent, const std::string& pluginUUID);

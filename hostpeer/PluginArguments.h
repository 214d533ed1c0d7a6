// The command line the host application starts a plug-in with: four flag pairs.
#pragma once

#include <string>
#include <vector>

struct PluginLaunch {
    int port = 0;               // the host's WebSocket port on the loopback interface
    std::string pluginUUID;     // the token the plug-in registers with
    std::string registerEvent;  // the event name it registers with
    std::string info;           // JSON about the application and the plug-in
};

// "-port", "-pluginUUID", "-registerEvent" and "-info" with their values, in that order
// (program name not included).
std::vector<std::string> PluginArguments(const PluginLaunch& launch);

#include "hostpeer/PluginArguments.h"

std::vector<std::string> PluginArguments(const StartupArguments& launch) {
    return {CommandLineFlags::kPort,          std::to_string(launch.port),
            CommandLineFlags::kPluginUUID,    launch.pluginUUID,
            CommandLineFlags::kRegisterEvent, launch.registerEvent,
            CommandLineFlags::kInfo,          launch.info};
}

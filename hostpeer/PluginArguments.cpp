#include "hostpeer/PluginArguments.h"

std::vector<std::string> PluginArguments(const PluginLaunch& launch) {
    return {"-port",          std::to_string(launch.port), "-pluginUUID", launch.pluginUUID,
            "-registerEvent", launch.registerEvent,        "-info",       launch.info};
}

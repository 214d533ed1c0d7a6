// The command line the host application starts a plug-in with: the four flag pairs the plug-in
// reads (host/CommandLine.h).
#pragma once

#include <string>
#include <vector>

#include "host/CommandLine.h"

// The flags with their values, in the order the application writes them (program name not
// included).
std::vector<std::string> PluginArguments(const StartupArguments& launch);

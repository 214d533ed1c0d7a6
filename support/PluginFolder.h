// The plug-in's installed folder: the nearest enclosing folder of the executable whose name
// ends in ".gpPlugin".
#pragma once

#include <string>

// The plug-in folder without a trailing separator, or empty when the executable lies in no such
// folder. A found folder is cached for the life of the process; a failed search is repeated on
// the next call.
std::string GetPluginFolder();

// The walk behind GetPluginFolder, from the given executable path: the path itself first, then
// each enclosing folder, nearest first, stopping at a root. Empty when nothing matches.
std::string FindPluginFolder(const std::string& modulePath);

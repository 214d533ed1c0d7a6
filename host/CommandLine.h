#pragma once

#include <optional>
#include <string>

// The four flags, spelled as the host application passes them.
namespace CommandLineFlags {

inline constexpr const char* kPort = "-port";
inline constexpr const char* kPluginUUID = "-pluginUUID";
inline constexpr const char* kRegisterEvent = "-registerEvent";
inline constexpr const char* kInfo = "-info";

}  // namespace CommandLineFlags

// What the host application passes on the command line.
struct StartupArguments {
    int port = 0;
    std::string pluginUUID;
    std::string registerEvent;
    std::string info;
};

// Reads the four flag pairs ("-port", "-pluginUUID", "-registerEvent", "-info", any order,
// exact bytes; a repeated flag keeps its later value, an unknown flag's pair is skipped).
// Empty when the count is not 9, the port reads as 0 or another value is empty.
std::optional<StartupArguments> ParseCommandLine(int argc, const char* const* argv);

// The leading decimal number of `text` as the C library's atoi reads it, except that a value
// beyond the int range is clamped instead of wrapping (which could yield a valid port).
int ParsePortValue(const char* text);

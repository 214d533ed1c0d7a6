#include "host/CommandLine.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

bool IsFlag(const char* argument, const char* flag) {
    return std::strcmp(argument, flag) == 0;
}

void ReadPair(const char* flag, const char* value, StartupArguments& arguments) {
    if (IsFlag(flag, CommandLineFlags::kPort)) {
        arguments.port = ParsePortValue(value);
    } else if (IsFlag(flag, CommandLineFlags::kPluginUUID)) {
        arguments.pluginUUID = value;
    } else if (IsFlag(flag, CommandLineFlags::kRegisterEvent)) {
        arguments.registerEvent = value;
    } else if (IsFlag(flag, CommandLineFlags::kInfo)) {
        arguments.info = value;
    }
}

bool IsComplete(const StartupArguments& arguments) {
    return arguments.port != 0 && !arguments.pluginUUID.empty() &&
           !arguments.registerEvent.empty() && !arguments.info.empty();
}

}  // namespace

int ParsePortValue(const char* text) {
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::optional<StartupArguments> ParseCommandLine(int argc, const char* const* argv) {
    constexpr int kExpectedCount = 9;
    if (argc != kExpectedCount) {
        return std::nullopt;
    }
    StartupArguments arguments;
    for (int flagIndex = 1; flagIndex < kExpectedCount; flagIndex += 2) {
        ReadPair(argv[flagIndex], argv[flagIndex + 1], arguments);
    }
    if (!IsComplete(arguments)) {
        return std::nullopt;
    }
    return arguments;
}

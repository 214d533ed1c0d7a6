// The field check's command line.
//
//   glyphpad-fieldcheck [--plugin PATH] [--deck PATH] [--close] [--json PATH]
#pragma once

#include <optional>
#include <string>
#include <vector>

struct FieldCheckOptions {
    std::string plugin;  // empty: the plug-in beside the field check
    std::string deck;    // empty: make a deck through PowerPoint
    bool closePowerPoint = false;
    std::string jsonReport;  // empty: none
    bool help = false;
};

// Empty, with `problem` set, for an argument it does not know or a flag without its value.
std::optional<FieldCheckOptions> ParseFieldCheckOptions(const std::vector<std::string>& arguments,
                                                        std::string& problem);

extern const char* const kFieldCheckUsage;

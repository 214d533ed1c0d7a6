#include "fieldcheck/FieldCheckOptions.h"

const char* const kFieldCheckUsage =
    "usage: glyphpad-fieldcheck [--plugin PATH] [--deck PATH] [--close] [--json PATH]\n"
    "  Proves the Glyphpad PowerPoint plug-in against PowerPoint on this machine: plays the\n"
    "  Glyphpad application, presses the plug-in's keys and checks what they show.\n"
    "  --plugin PATH  the plug-in executable (default: glyphpad-powerpoint beside this program)\n"
    "  --deck PATH    a presentation with at least 3 slides (default: make a 5-slide deck)\n"
    "  --close        end with a long press of play, which closes PowerPoint\n"
    "  --json PATH    also write the report as JSON to PATH\n";

std::optional<FieldCheckOptions> ParseFieldCheckOptions(const std::vector<std::string>& arguments,
                                                        std::string& problem) {
    FieldCheckOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        std::string* value = flag == "--plugin" ? &options.plugin
                             : flag == "--deck" ? &options.deck
                             : flag == "--json" ? &options.jsonReport
                                                : nullptr;
        if (value != nullptr) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                problem = flag + " needs a path";
                return std::nullopt;
            }
            *value = arguments[++i];
        } else if (flag == "--close") {
            options.closePowerPoint = true;
        } else if (flag == "--help" || flag == "-h" || flag == "/?") {
            options.help = true;
        } else {
            problem = "unknown argument '" + flag + "'";
            return std::nullopt;
        }
    }
    return options;
}

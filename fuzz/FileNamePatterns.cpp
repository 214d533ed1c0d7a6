#include "fuzz/FileNamePatterns.h"

#include <regex>

namespace {

// The patterns run over narrow text: the wide bracket matcher of the standard library has no
// cache and looks up each unit through the locale's collation, an allocation per unit.
struct Patterns {
    // The text after the last backslash.
    std::regex name{R"(.*\\([^\\]+)$)"};
    // The last component before its last dot, for either separator; with forward slashes the
    // component may hold no backslash.
    std::regex backslashStem{R"(.*\\([^\\]+)\.[^\\]+$)"};
    std::regex forwardSlashStem{R"(.*/([^/\\]+)\.[^/\\]+$)"};
};

const std::regex& PatternFor(FileNamePattern which) {
    static const Patterns patterns;
    switch (which) {
        case FileNamePattern::Name:
            return patterns.name;
        case FileNamePattern::BackslashStem:
            return patterns.backslashStem;
        case FileNamePattern::ForwardSlashStem:
            break;
    }
    return patterns.forwardSlashStem;
}

// Each unit as one character of the same class for the patterns: the separators and the dot as
// themselves, every line terminator (which '.' does not match in wide text either) as '\n', and
// anything else as 'x'. A match then covers the same positions as on the wide text.
std::string UnitClasses(const std::wstring& path) {
    std::string classes(path.size(), 'x');
    for (std::size_t at = 0; at < path.size(); ++at) {
        const wchar_t unit = path[at];
        if (unit == L'\\' || unit == L'/' || unit == L'.') {
            classes[at] = static_cast<char>(unit);
        } else if (unit == L'\n' || unit == L'\r' || unit == 0x2028 || unit == 0x2029) {
            classes[at] = '\n';
        }
    }
    return classes;
}

}  // namespace

std::wstring MatchFileNamePattern(const std::wstring& path, FileNamePattern pattern) {
    const std::string classes = UnitClasses(path);
    std::smatch match;
    if (!std::regex_match(classes, match, PatternFor(pattern))) {
        return {};
    }
    return path.substr(static_cast<std::size_t>(match.position(1)),
                       static_cast<std::size_t>(match.length(1)));
}

#include "fuzz/FileNamePatterns.h"

#include <regex>

namespace {

struct Patterns {
    // The text after the last backslash.
    std::wregex name{LR"(.*\\([^\\]+)$)"};
    // The last component before its last dot, for either separator; with forward slashes the
    // component may hold no backslash.
    std::wregex backslashStem{LR"(.*\\([^\\]+)\.[^\\]+$)"};
    std::wregex forwardSlashStem{LR"(.*/([^/\\]+)\.[^/\\]+$)"};
};

const std::wregex& PatternFor(FileNamePattern which) {
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

}  // namespace

std::wstring MatchFileNamePattern(const std::wstring& path, FileNamePattern pattern) {
    std::wsmatch match;
    return std::regex_match(path, match, PatternFor(pattern)) ? match[1].str() : std::wstring();
}

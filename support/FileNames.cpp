#include "support/FileNames.h"

#include <regex>

namespace {

// std::regex matches by recursion, roughly one stack frame chain per character, so a very long
// path (say from a key's settings) would overflow a thread's stack instead of throwing. No
// presentation path comes near this length (PowerPoint refuses paths over 259 characters);
// anything longer has no name rather than a crash.
constexpr std::size_t kLongestMatchedPath = 2048;

struct StemPatterns {
    std::wregex backslash;
    std::wregex forwardSlash;
};

// Compiled on first use; function-local statics make concurrent first calls safe.
const std::wregex& FileNamePattern() {
    static const std::wregex pattern(LR"(.*\\([^\\]+)$)");
    return pattern;
}

const StemPatterns& FileStemPatterns() {
    static const StemPatterns patterns{std::wregex(LR"(.*\\([^\\]+)\.[^\\]+$)"),
                                       std::wregex(LR"(.*/([^/\\]+)\.[^/\\]+$)")};
    return patterns;
}

// Group 1 of a full match, or empty.
std::wstring CaptureFirstGroup(const std::wstring& path, const std::wregex& pattern) {
    if (path.size() > kLongestMatchedPath) {
        return {};
    }
    std::wsmatch match;
    if (std::regex_match(path, match, pattern) && match.size() == 2 && match[1].matched) {
        return match[1].str();
    }
    return {};
}

}  // namespace

// The matcher may give up on complexity, and compiling or copying may run out of memory; any
// of these leaves the path without a name.
std::wstring FileNameFromPath(const std::wstring& path) {
    try {
        return CaptureFirstGroup(path, FileNamePattern());
    } catch (...) {
        return {};
    }
}

std::wstring FileStemFromPath(const std::wstring& path, SeparatorStyle style) {
    try {
        const StemPatterns& patterns = FileStemPatterns();
        return CaptureFirstGroup(
            path, style == SeparatorStyle::Backslash ? patterns.backslash : patterns.forwardSlash);
    } catch (...) {
        return {};
    }
}

// Fuzzes FileNameFromPath and FileStemFromPath (both separator styles) differentially: every
// input is also matched against the patterns that define them (fuzz/FileNamePatterns.cpp), and
// the results must be the same. The product cuts names by hand, without regular expressions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FileNamePatterns.h"
#include "fuzz/FuzzCheck.h"
#include "support/FileNames.h"

namespace {

// Longer paths name no file, whatever the patterns would say.
constexpr std::size_t kLongestNamedPath = 2048;

std::wstring Expected(const std::wstring& path, FileNamePattern pattern) {
    return path.size() <= kLongestNamedPath ? MatchFileNamePattern(path, pattern) : std::wstring();
}

// Bytes become UTF-16 units one to one, so that mutations stay readable, except that 0xFF
// introduces a unit given by the next two bytes (line separators, surrogates, anything).
std::wstring PathFromBytes(const std::uint8_t* data, std::size_t size) {
    std::wstring path;
    for (std::size_t index = 0; index < size; ++index) {
        if (data[index] == 0xFF && index + 2 < size) {
            path.push_back(static_cast<wchar_t>(data[index + 1] | (data[index + 2] << 8)));
            index += 2;
        } else {
            path.push_back(static_cast<wchar_t>(data[index]));
        }
    }
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = PathFromBytes(data, size);
    FUZZ_REQUIRE(FileNameFromPath(path) == Expected(path, FileNamePattern::Name));
    FUZZ_REQUIRE(FileStemFromPath(path, SeparatorStyle::Backslash) ==
                 Expected(path, FileNamePattern::BackslashStem));
    FUZZ_REQUIRE(FileStemFromPath(path, SeparatorStyle::ForwardSlash) ==
                 Expected(path, FileNamePattern::ForwardSlashStem));
    return 0;
}

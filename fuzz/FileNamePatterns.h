// The patterns that define the file names cut from presentation paths, kept as the oracle for
// the hand-written matcher in support/FileNames.
#pragma once

#include <cstddef>
#include <string>

enum class FileNamePattern { Name, BackslashStem, ForwardSlashStem };

// Group 1 of a full match of the pattern, or empty when the path does not match.
std::wstring MatchFileNamePattern(const std::wstring& path, FileNamePattern pattern);

// What the product must cut from the path: the pattern's match, except that longer paths name
// no file, whatever the patterns would say.
inline std::wstring ExpectedFileName(const std::wstring& path, FileNamePattern pattern) {
    constexpr std::size_t kLongestNamedPath = 2048;
    return path.size() <= kLongestNamedPath ? MatchFileNamePattern(path, pattern) : std::wstring();
}

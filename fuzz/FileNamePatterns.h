// The patterns that define the file names cut from presentation paths, kept as the oracle for
// the hand-written matcher in support/FileNames.
#pragma once

#include <string>

enum class FileNamePattern { Name, BackslashStem, ForwardSlashStem };

// Group 1 of a full match of the pattern, or empty when the path does not match.
std::wstring MatchFileNamePattern(const std::wstring& path, FileNamePattern pattern);

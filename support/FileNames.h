// File names cut out of wide-string presentation paths.
#pragma once

#include <string>

// Backslash: Windows paths as PowerPoint reports them. ForwardSlash: paths as the property
// inspector delivers them.
enum class SeparatorStyle { Backslash, ForwardSlash };

// The text after the last backslash (extension included); empty when the path has no
// backslash or ends with one. A line break before that backslash, a path over 2048 units, or
// no memory for the copy also leave it empty.
std::wstring FileNameFromPath(const std::wstring& path) noexcept;

// The last component without its extension; empty when the component has no extension after
// at least one character, or the path has no separator of the style. With ForwardSlash, a
// backslash after the last forward slash leaves it empty too. Line breaks, length and memory
// as for FileNameFromPath.
std::wstring FileStemFromPath(const std::wstring& path, SeparatorStyle style) noexcept;

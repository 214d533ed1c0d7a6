// File names cut out of wide-string presentation paths.
#pragma once

#include <string>

// Backslash: Windows paths as PowerPoint reports them. ForwardSlash: paths as the property
// inspector delivers them.
enum class SeparatorStyle { Backslash, ForwardSlash };

// The text after the last backslash (extension included); empty when the path has no
// backslash or ends with one. Never throws.
std::wstring FileNameFromPath(const std::wstring& path);

// The last component without its extension; empty when the component has no extension after
// at least one character, or the path has no separator of the style. Never throws.
std::wstring FileStemFromPath(const std::wstring& path, SeparatorStyle style);

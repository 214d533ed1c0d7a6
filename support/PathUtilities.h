// Path operations on narrow (system code page) byte strings, for Windows paths and
// forward-slash paths alike. A path's separator is a backslash if it holds one, otherwise a
// forward slash; only that character separates. Comparisons are exact and nothing touches the
// file system.
#pragma once

#include <string>

// The last component after trailing separators; roots and separator-free paths come back whole.
std::string GetLastPathComponent(const std::string& path);

// The path without its last component; a root comes back unchanged; empty when there is none.
std::string GetParentPath(const std::string& path);

// The last component's text from its last "." on; empty when it has no dot or ends with one.
std::string GetPathExtension(const std::string& path);

// base and component with exactly one separator between them, every forward slash turned into
// a backslash. An empty base gives the component unchanged.
std::string JoinPath(const std::string& base, const std::string& component);

// True for \\server, \\server\share and the like: two separators, then at most one more.
bool IsNetworkShareRoot(const std::string& path);

// GetParentPath in place, for walks up a path without a copy per step; false, leaving the path
// as it is, when it is its own parent.
bool ReplaceWithParentPath(std::string& path);

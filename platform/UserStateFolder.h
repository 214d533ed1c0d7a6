// The folder where a program keeps per-user data of its own that is not a document and need not
// follow the user to another machine: %LOCALAPPDATA% on Windows; on Linux $XDG_STATE_HOME, or
// ~/.local/state when that is not set (the XDG base directory's state home).
#pragma once

#include <string>

// In UTF-16 units, without a trailing separator; empty when the environment names none. The
// folder may not exist yet.
std::wstring UserStateFolder();

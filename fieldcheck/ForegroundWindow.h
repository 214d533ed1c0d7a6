// Which window has the keyboard (the foreground), in words for the report: a show started from a
// program in the background may appear without it.
#pragma once

#include <string>

// "'ConsoleWindowClass' 'Command Prompt', of another program", "... of this program", or "no
// window".
std::string DescribeForegroundWindow();

// A window's class name and title as the window manager reports them: read into buffers of
// kWindowTextRoom characters, so that longer ones come cut at 255; empty when they cannot be read.
#pragma once

#include <string>

#include "platform/Platform.h"

inline constexpr int kWindowTextRoom = 256;

std::wstring WindowClassName(HWND window);
std::wstring WindowTitle(HWND window);

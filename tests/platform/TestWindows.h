// Top-level windows of the test's own, made the way each lane makes them: in the stand-in's
// window list on Linux, with CreateWindowExW on Windows. Every one has kTestWindowClass.
#pragma once

#include <string>

#include "platform/Platform.h"

inline constexpr const wchar_t* kTestWindowClass = L"GlyphpadTestWindow";

// A new top-level window with this title, shown as a frame window is; nullptr when none could
// be made.
HWND CreateTestWindow(const std::wstring& title);
bool IsTopmostWindow(HWND window);

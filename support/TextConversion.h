// UTF-8 <-> UTF-16 conversion at the border between the host link and PowerPoint.
#pragma once

#include <string>

// Every failure (malformed input, 2^31 units or more, a platform failure) gives an empty
// string: callers never see partial or substituted text.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

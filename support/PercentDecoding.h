// URL text with its %XX escapes decoded, as a URL's components are compared.
#pragma once

#include <string>
#include <string_view>

// %XX escapes (hex digits in either case) decode as the UTF-8 bytes they stand for; an escaped
// byte that is no part of a valid UTF-8 sequence, and a % not followed by two hex digits, stay
// as written. "+" stays "+": in a URL's path it is no space.
std::wstring DecodePercentEscapes(std::wstring_view text);

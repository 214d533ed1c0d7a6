// The readings fuzz-presentation-names checks the product against, written independently of it:
// a URL read forwards, ASCII case folding, case changes of Latin letters, the flags and suffix of
// a frame title read from the left, and the titles PowerPoint could show for a file. Built
// without coverage instrumentation, as the file-name patterns are: the fuzzer is to steer into
// the product's branches, not these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A scheme read forwards: a letter, then letters, digits, '+', '-' or '.', two or more units in
// all, directly followed by "://".
bool ExpectedUrl(const std::wstring& text);

// The chosen file as the settings page's forward slashes would become: backslashes, in a
// Windows path only.
std::wstring ExpectedSetting(const std::wstring& fullName, bool url);

// Both texts ASCII; then whether they are equal but for the case of ASCII letters.
bool AreAscii(const std::wstring& first, const std::wstring& second);
bool SameFoldingAscii(const std::wstring& first, const std::wstring& second);

// The case of the letters at the positions whose bit is set (position modulo 64) changed:
// letters whose other case is one unit away by 0x20 (ASCII, and Latin-1 but for the signs
// U+00D7/U+00F7 and U+00FF, whose capital lies elsewhere).
std::wstring ChangeCase(std::wstring text, std::uint64_t positions);

// The file name before its last dot, when that dot is not its first unit.
std::wstring_view Stem(std::wstring_view fileName);

// Flags (" [" and text holding no " [" and ending in ']', each running to where the next " ["
// begins) followed by either application suffix, read from the left.
bool AreFlagsAndSuffix(std::wstring_view tail);

// A title PowerPoint could show for the file: its name, or without an extension that has text
// on both sides of its dot (bit 0 of form), in any case, the flags of bits 1 to 4, the suffix of
// bit 7.
std::wstring BuiltTitle(const std::wstring& fileName, std::uint8_t form, std::uint64_t positions);

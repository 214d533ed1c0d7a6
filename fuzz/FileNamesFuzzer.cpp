// Fuzzes FileNameFromPath and FileStemFromPath (both separator styles) against what their
// patterns mean, worked out here without regular expressions: the last component after the
// last separator; for the stem, the text before that component's last dot that has something
// after it; and no match at all when a line terminator stands before that separator, because
// the leading ".*" cannot cross one. Paths longer than the matcher's bound have no name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "support/FileNames.h"

namespace {

// Longer paths are refused before matching, since the matcher recurses once per character.
constexpr std::size_t kLongestMatchedPath = 2048;

bool IsLineTerminator(wchar_t unit) {
    return unit == L'\n' || unit == L'\r' || unit == 0x2028 || unit == 0x2029;
}

bool HoldsLineTerminator(const std::wstring& text) {
    for (wchar_t unit : text) {
        if (IsLineTerminator(unit)) {
            return true;
        }
    }
    return false;
}

// Splits at the last `separator`; false when there is none or a line terminator precedes it.
bool SplitAtLastSeparator(const std::wstring& path, wchar_t separator, std::wstring& component) {
    const std::size_t position = path.rfind(separator);
    if (position == std::wstring::npos || HoldsLineTerminator(path.substr(0, position))) {
        return false;
    }
    component = path.substr(position + 1);
    return true;
}

std::wstring ExpectedName(const std::wstring& path) {
    std::wstring component;
    if (path.size() > kLongestMatchedPath || !SplitAtLastSeparator(path, L'\\', component)) {
        return {};
    }
    return component;
}

std::wstring StemOfComponent(const std::wstring& component) {
    if (component.size() < 3) {
        return {};
    }
    // The extension needs at least one character, so the dot cannot be the last one.
    const std::size_t dot = component.rfind(L'.', component.size() - 2);
    if (dot == std::wstring::npos || dot == 0) {
        return {};
    }
    return component.substr(0, dot);
}

std::wstring ExpectedStem(const std::wstring& path, SeparatorStyle style) {
    const wchar_t separator = style == SeparatorStyle::Backslash ? L'\\' : L'/';
    std::wstring component;
    if (path.size() > kLongestMatchedPath || !SplitAtLastSeparator(path, separator, component)) {
        return {};
    }
    if (style == SeparatorStyle::ForwardSlash && component.find(L'\\') != std::wstring::npos) {
        return {};
    }
    return StemOfComponent(component);
}

// Bytes become UTF-16 units one to one, so that mutations stay readable, except that 0xFF
// introduces a unit given by the next two bytes (line separators, surrogates, anything).
std::wstring PathFromBytes(const std::uint8_t* data, std::size_t size) {
    std::wstring path;
    for (std::size_t index = 0; index < size; ++index) {
        if (data[index] == 0xFF && index + 2 < size) {
            path.push_back(static_cast<wchar_t>(data[index + 1] | (data[index + 2] << 8)));
            index += 2;
        } else {
            path.push_back(static_cast<wchar_t>(data[index]));
        }
    }
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = PathFromBytes(data, size);
    FUZZ_REQUIRE(FileNameFromPath(path) == ExpectedName(path));
    FUZZ_REQUIRE(FileStemFromPath(path, SeparatorStyle::Backslash) ==
                 ExpectedStem(path, SeparatorStyle::Backslash));
    FUZZ_REQUIRE(FileStemFromPath(path, SeparatorStyle::ForwardSlash) ==
                 ExpectedStem(path, SeparatorStyle::ForwardSlash));
    return 0;
}

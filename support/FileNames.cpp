#include "support/FileNames.h"

#include <algorithm>
#include <new>

namespace {

// No presentation path comes near this length (PowerPoint refuses paths over 259 units);
// longer text, say from a key's settings, names no file.
constexpr std::size_t kLongestNamedPath = 2048;

// A name is cut from one line of text: a path broken before its last separator names nothing.
bool IsLineTerminator(wchar_t unit) noexcept {
    return unit == L'\n' || unit == L'\r' || unit == 0x2028 || unit == 0x2029;
}

// Where the last component begins, or npos: no `separator`, a line terminator before the last
// one, or a component that is empty or holds one of `excluded`.
std::size_t LastComponentStart(const std::wstring& path, wchar_t separator,
                               const wchar_t* excluded) noexcept {
    if (path.size() > kLongestNamedPath) {
        return std::wstring::npos;
    }
    const std::size_t separatorAt = path.rfind(separator);
    if (separatorAt == std::wstring::npos || separatorAt + 1 == path.size()) {
        return std::wstring::npos;
    }
    const auto head = path.begin() + static_cast<std::ptrdiff_t>(separatorAt);
    if (std::any_of(path.begin(), head, IsLineTerminator) ||
        path.find_first_of(excluded, separatorAt + 1) != std::wstring::npos) {
        return std::wstring::npos;
    }
    return separatorAt + 1;
}

// The length of the component's stem: up to its last dot that has text on both sides; 0 when
// there is no such dot.
std::size_t StemLength(const std::wstring& path, std::size_t start) noexcept {
    if (path.size() - start < 3) {
        return 0;
    }
    const std::size_t dot = path.rfind(L'.', path.size() - 2);
    return dot == std::wstring::npos || dot <= start ? 0 : dot - start;
}

std::wstring Slice(const std::wstring& path, std::size_t start, std::size_t length) noexcept {
    try {
        return path.substr(start, length);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace

std::wstring FileNameFromPath(const std::wstring& path) noexcept {
    const std::size_t start = LastComponentStart(path, L'\\', L"");
    return start == std::wstring::npos ? std::wstring() : Slice(path, start, std::wstring::npos);
}

std::wstring FileStemFromPath(const std::wstring& path, SeparatorStyle style) noexcept {
    const bool backslash = style == SeparatorStyle::Backslash;
    const std::size_t start =
        LastComponentStart(path, backslash ? L'\\' : L'/', backslash ? L"" : L"\\");
    if (start == std::wstring::npos) {
        return {};
    }
    const std::size_t length = StemLength(path, start);
    return length == 0 ? std::wstring() : Slice(path, start, length);
}

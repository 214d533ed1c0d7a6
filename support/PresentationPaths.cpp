#include "support/PresentationPaths.h"

#include <algorithm>

#include "platform/Platform.h"

namespace {

bool IsSchemeUnit(wchar_t unit, bool first) {
    const bool letter = (unit >= L'a' && unit <= L'z') || (unit >= L'A' && unit <= L'Z');
    const bool other =
        (unit >= L'0' && unit <= L'9') || unit == L'+' || unit == L'-' || unit == L'.';
    return letter || (!first && other);
}

}  // namespace

bool HasUrlScheme(std::wstring_view fullName) {
    // Reads only as far as the scheme goes: a Windows path stops at its second or third unit,
    // which keeps the test cheap beside a comparison made for every open deck.
    std::size_t at = 0;
    while (at < fullName.size() && IsSchemeUnit(fullName[at], at == 0)) {
        ++at;
    }
    return at >= 2 && fullName.substr(at, 3) == L"://";
}

SeparatorStyle SeparatorStyleOf(const std::wstring& fullName) {
    return HasUrlScheme(fullName) ? SeparatorStyle::ForwardSlash : SeparatorStyle::Backslash;
}

std::wstring PowerPointPathFromSetting(const std::wstring& chosen) {
    std::wstring path = chosen;
    if (!HasUrlScheme(path)) {
        std::replace(path.begin(), path.end(), L'/', L'\\');
    }
    return path;
}

bool IsSamePresentationPath(std::wstring_view first, std::wstring_view second) {
    // Names of different lengths never compare equal: most comparisons (a frame title against
    // each open deck's name, every flag cut off in turn) end here without a look at a unit.
    if (first.empty() || first.size() != second.size() || first.size() > INT32_MAX) {
        return false;
    }
    return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

std::wstring PresentationFileName(const std::wstring& fullName) {
    if (!HasUrlScheme(fullName)) {
        return FileNameFromPath(fullName);
    }
    const std::size_t slash = fullName.find_last_of(L'/');
    return fullName.substr(slash + 1);
}

std::wstring PresentationTitle(const std::wstring& fullName) {
    return FileStemFromPath(fullName, SeparatorStyleOf(fullName));
}

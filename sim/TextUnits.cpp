#include "sim/TextUnits.h"

#include <climits>

#include "platform/Platform.h"

namespace pptsim {

// Flags 0 on both calls: a malformed byte or an unpaired surrogate becomes U+FFFD instead of
// failing the whole text. A length of 0 is an invalid parameter to both, hence the early return.

std::wstring Utf8ToUnits(const std::string& text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (count <= 0) {
        return {};
    }
    std::wstring units(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, units.data(), count);
    return units;
}

std::string UnitsToUtf8(const std::wstring& units) {
    if (units.empty() || units.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(units.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, units.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, units.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

}  // namespace pptsim

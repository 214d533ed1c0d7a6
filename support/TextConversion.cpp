#include "support/TextConversion.h"

#include <climits>

#include "platform/Platform.h"

namespace {

// The platform takes 32-bit signed counts.
template <typename Text>
bool FitsPlatformCount(const Text& text) {
    return text.size() <= static_cast<std::size_t>(INT_MAX);
}

}  // namespace

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty() || !FitsPlatformCount(text)) {
        return {};
    }
    // An explicit count, never -1: embedded zero bytes convert like any other character.
    const int length = static_cast<int>(text.size());
    const int required =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (required <= 0) {
        return {};
    }
    std::wstring result(static_cast<std::size_t>(required), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, result.data(),
                            required) == 0) {
        return {};
    }
    return result;
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty() || !FitsPlatformCount(text)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int required = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length,
                                             nullptr, 0, nullptr, nullptr);
    if (required <= 0) {
        return {};
    }
    std::string result(static_cast<std::size_t>(required), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, result.data(),
                            required, nullptr, nullptr) == 0) {
        return {};
    }
    return result;
}

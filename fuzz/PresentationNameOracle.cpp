#include "fuzz/PresentationNameOracle.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::wstring_view kSuffixes[] = {L" - PowerPoint", L" - Microsoft PowerPoint"};
const wchar_t* const kFlags[] = {L" [Read-Only]", L" [Compatibility Mode]", L" [Protected View]",
                                 L" [Shared]"};

bool IsAsciiLetter(wchar_t unit) {
    return (unit >= L'a' && unit <= L'z') || (unit >= L'A' && unit <= L'Z');
}

bool IsAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t unit) { return unit < 0x80; });
}

wchar_t FoldAscii(wchar_t unit) {
    return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
}

bool HasCasePartner(wchar_t unit) {
    const bool latin1 = (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) ||
                        (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7);
    return IsAsciiLetter(unit) || latin1;
}

bool AreFlags(std::wstring_view flags) {
    std::size_t start = 0;
    while (start < flags.size()) {
        if (flags.compare(start, 2, L" [") != 0) {
            return false;
        }
        std::size_t next = flags.find(L" [", start + 2);
        next = next == std::wstring_view::npos ? flags.size() : next;
        if (flags[next - 1] != L']') {
            return false;
        }
        start = next;
    }
    return true;
}

}  // namespace

bool ExpectedUrl(const std::wstring& text) {
    std::size_t at = 0;
    while (at < text.size() &&
           (IsAsciiLetter(text[at]) ||
            (at > 0 && ((text[at] >= L'0' && text[at] <= L'9') || text[at] == L'+' ||
                        text[at] == L'-' || text[at] == L'.')))) {
        ++at;
    }
    return at >= 2 && text.compare(at, 3, L"://") == 0;
}

std::wstring ExpectedSetting(const std::wstring& fullName, bool url) {
    std::wstring setting = fullName;
    if (!url) {
        std::replace(setting.begin(), setting.end(), L'/', L'\\');
    }
    return setting;
}

bool AreAscii(const std::wstring& first, const std::wstring& second) {
    return IsAscii(first) && IsAscii(second);
}

bool SameFoldingAscii(const std::wstring& first, const std::wstring& second) {
    return first.size() == second.size() &&
           std::equal(first.begin(), first.end(), second.begin(),
                      [](wchar_t a, wchar_t b) { return FoldAscii(a) == FoldAscii(b); });
}

std::wstring ChangeCase(std::wstring text, std::uint64_t positions) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (HasCasePartner(text[at]) && ((positions >> (at % 64)) & 1u) != 0) {
            text[at] = static_cast<wchar_t>(text[at] ^ 0x20);
        }
    }
    return text;
}

std::wstring_view Stem(std::wstring_view fileName) {
    const std::size_t dot = fileName.rfind(L'.');
    return dot != std::wstring_view::npos && dot > 0 ? fileName.substr(0, dot)
                                                     : std::wstring_view();
}

bool AreFlagsAndSuffix(std::wstring_view tail) {
    for (const std::wstring_view suffix : kSuffixes) {
        if (tail.size() >= suffix.size() && tail.substr(tail.size() - suffix.size()) == suffix) {
            return AreFlags(tail.substr(0, tail.size() - suffix.size()));
        }
    }
    return false;
}

std::wstring BuiltTitle(const std::wstring& fileName, std::uint8_t form, std::uint64_t positions) {
    const std::size_t dot = fileName.rfind(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot > 0 && dot + 1 < fileName.size();
    std::wstring title = ChangeCase(
        (form & 1u) != 0 && hasExtension ? fileName.substr(0, dot) : fileName, positions);
    for (std::size_t flag = 0; flag < std::size(kFlags); ++flag) {
        if ((form >> (1 + flag) & 1u) != 0) {
            title += kFlags[flag];
        }
    }
    return title += kSuffixes[(form >> 7) & 1u];
}

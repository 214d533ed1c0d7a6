// Fuzzes how presentations are named and recognised: the full-name operations of
// support/PresentationPaths and the frame-title match of support/FrameTitles. Names are checked
// against the file-name patterns (fuzz/FileNamePatterns.cpp) and a URL reading written here;
// the name comparison for symmetry, against ASCII case folding, and for ignoring the case of
// Latin letters; the title match against a reading that splits the title from the left (the
// product cuts flags from the right), and with titles built from a name in every documented
// form, which must all match it.
//
// Input: one byte choosing the form of a built title, eight choosing case changes, then the
// text before the first 0xFE byte and the text after it, each read by WideFromBytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FileNamePatterns.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/WideFromBytes.h"
#include "support/FrameTitles.h"
#include "support/PresentationPaths.h"

namespace {

constexpr std::wstring_view kSuffixes[] = {L" - PowerPoint", L" - Microsoft PowerPoint"};
const wchar_t* const kFlags[] = {L" [Read-Only]", L" [Compatibility Mode]", L" [Protected View]",
                                 L" [Shared]"};

bool IsAsciiLetter(wchar_t unit) {
    return (unit >= L'a' && unit <= L'z') || (unit >= L'A' && unit <= L'Z');
}

// A scheme read forwards: a letter, then letters, digits, '+', '-' or '.', two or more units in
// all, directly followed by "://".
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

bool IsAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t unit) { return unit < 0x80; });
}

wchar_t FoldAscii(wchar_t unit) {
    return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
}

// Letters whose other case is one unit away by 0x20: ASCII, and Latin-1 but for the signs
// U+00D7/U+00F7 and U+00FF, whose capital lies elsewhere.
bool HasCasePartner(wchar_t unit) {
    const bool latin1 = (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) ||
                        (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7);
    return IsAsciiLetter(unit) || latin1;
}

// The case of the letters at the positions whose bit is set (position modulo 64) changed.
std::wstring ChangeCase(std::wstring text, std::uint64_t positions) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (HasCasePartner(text[at]) && ((positions >> (at % 64)) & 1u) != 0) {
            text[at] = static_cast<wchar_t>(text[at] ^ 0x20);
        }
    }
    return text;
}

void CheckFullName(const std::wstring& fullName) {
    const bool url = ExpectedUrl(fullName);
    FUZZ_REQUIRE(HasUrlScheme(fullName) == url);
    FUZZ_REQUIRE((SeparatorStyleOf(fullName) == SeparatorStyle::ForwardSlash) == url);

    const std::wstring name = PresentationFileName(fullName);
    const std::wstring title = PresentationTitle(fullName);
    if (url) {
        // A URL's name follows its last slash, whatever else it holds.
        FUZZ_REQUIRE(name.find(L'/') == std::wstring::npos);
        const std::size_t slash = fullName.size() - name.size() - 1;
        FUZZ_REQUIRE(fullName.size() > name.size() && fullName[slash] == L'/' &&
                     fullName.compare(slash + 1, name.size(), name) == 0);
        FUZZ_REQUIRE(title == ExpectedFileName(fullName, FileNamePattern::ForwardSlashStem));
    } else {
        FUZZ_REQUIRE(name == ExpectedFileName(fullName, FileNamePattern::Name));
        FUZZ_REQUIRE(title == ExpectedFileName(fullName, FileNamePattern::BackslashStem));
    }
    // The title is the name without its extension.
    if (!title.empty()) {
        FUZZ_REQUIRE(name.size() > title.size() + 1 && name.compare(0, title.size(), title) == 0 &&
                     name[title.size()] == L'.');
    }

    // The settings page's forward slashes become backslashes, in Windows paths only.
    const std::wstring setting = PowerPointPathFromSetting(fullName);
    FUZZ_REQUIRE(setting.size() == fullName.size());
    for (std::size_t at = 0; at < setting.size(); ++at) {
        FUZZ_REQUIRE(setting[at] == (!url && fullName[at] == L'/' ? L'\\' : fullName[at]));
    }
}

void CheckComparison(const std::wstring& first, const std::wstring& second,
                     std::uint64_t positions) {
    const bool same = IsSamePresentationPath(first, second);
    FUZZ_REQUIRE(same == IsSamePresentationPath(second, first));
    if (same) {
        FUZZ_REQUIRE(!first.empty() && first.size() == second.size());
    }
    if (IsAscii(first) && IsAscii(second)) {
        const bool folded =
            first.size() == second.size() &&
            std::equal(first.begin(), first.end(), second.begin(),
                       [](wchar_t a, wchar_t b) { return FoldAscii(a) == FoldAscii(b); });
        FUZZ_REQUIRE(same == (!first.empty() && folded));
    }
    FUZZ_REQUIRE(IsSamePresentationPath(first, ChangeCase(first, positions)) == !first.empty());
}

// The file name before its last dot, when that dot is not its first unit.
std::wstring_view Stem(std::wstring_view fileName) {
    const std::size_t dot = fileName.rfind(L'.');
    return dot != std::wstring_view::npos && dot > 0 ? fileName.substr(0, dot)
                                                     : std::wstring_view();
}

// Flags, " [" and text holding no " [" and ending in ']', read from the left: each runs to
// where the next " [" begins.
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

bool AreFlagsAndSuffix(std::wstring_view tail) {
    for (const std::wstring_view suffix : kSuffixes) {
        if (tail.size() >= suffix.size() && tail.substr(tail.size() - suffix.size()) == suffix) {
            return AreFlags(tail.substr(0, tail.size() - suffix.size()));
        }
    }
    return false;
}

// The title starts with the name or its stem (as names compare), and flags and the
// application's suffix make up the rest.
bool ExpectedFrameTitleOf(std::wstring_view title, std::wstring_view fileName) {
    for (const std::wstring_view name : {fileName, Stem(fileName)}) {
        if (!name.empty() && title.size() >= name.size() &&
            IsSamePresentationPath(title.substr(0, name.size()), name) &&
            AreFlagsAndSuffix(title.substr(name.size()))) {
            return true;
        }
    }
    return false;
}

void CheckFrameTitle(const std::wstring& title, const std::wstring& fileName) {
    FUZZ_REQUIRE(IsFrameTitleOf(title, fileName) == ExpectedFrameTitleOf(title, fileName));
}

// A title PowerPoint could show for the file: its name, or without an extension that has text
// on both sides of its dot, in any case, some flags, either suffix.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t control = std::min<std::size_t>(size, 9);
    const std::uint8_t form = control > 0 ? data[0] : 0;
    std::uint64_t positions = 0;
    for (std::size_t at = 1; at < control; ++at) {
        positions |= std::uint64_t{data[at]} << (8 * (at - 1));
    }
    const std::uint8_t* const text = data + control;
    const std::uint8_t* const end = data + size;
    const std::uint8_t* const split = std::find(text, end, std::uint8_t{0xFE});
    const std::wstring first = WideFromBytes(text, static_cast<std::size_t>(split - text));
    const std::wstring second =
        split == end ? std::wstring()
                     : WideFromBytes(split + 1, static_cast<std::size_t>(end - split - 1));

    CheckFullName(first);
    CheckFullName(second);
    CheckComparison(first, second, positions);

    // The second text as a file name: the first as a whole title, and as what follows a name in
    // a title; every built title must match.
    CheckFrameTitle(first, second);
    FUZZ_REQUIRE(!IsFrameTitleOf(first, L""));
    if (!second.empty()) {
        const std::wstring built = BuiltTitle(second, form, positions);
        FUZZ_REQUIRE(IsFrameTitleOf(built, second));
        CheckFrameTitle(ChangeCase(second, positions) + first, second);
        CheckFrameTitle(std::wstring(Stem(second)) + first, second);
    }
    return 0;
}

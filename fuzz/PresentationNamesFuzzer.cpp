// Fuzzes how presentations are named and recognised: the full-name operations of
// support/PresentationPaths and the frame-title match of support/FrameTitles. Names are checked
// against the file-name patterns (fuzz/FileNamePatterns.cpp) and a URL read forwards; the name
// comparison for symmetry, against ASCII case folding, and for ignoring the case of Latin
// letters; the title match against a reading that splits the title from the left (the product
// cuts flags from the right), and with titles built from a name in every documented form, which
// must all match it. Those readings are in fuzz/PresentationNameOracle.cpp.
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
#include "fuzz/PresentationNameOracle.h"
#include "fuzz/WideFromBytes.h"
#include "support/FrameTitles.h"
#include "support/PresentationPaths.h"

namespace {

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
    FUZZ_REQUIRE(PowerPointPathFromSetting(fullName) == ExpectedSetting(fullName, url));
}

void CheckComparison(const std::wstring& first, const std::wstring& second,
                     std::uint64_t positions) {
    const bool same = IsSamePresentationPath(first, second);
    FUZZ_REQUIRE(same == IsSamePresentationPath(second, first));
    if (same) {
        FUZZ_REQUIRE(!first.empty() && first.size() == second.size());
    }
    if (AreAscii(first, second)) {
        FUZZ_REQUIRE(same == (!first.empty() && SameFoldingAscii(first, second)));
    }
    FUZZ_REQUIRE(IsSamePresentationPath(first, ChangeCase(first, positions)) == !first.empty());
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

#include "support/TextConversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/Utf16Units.h"

namespace {

struct RoundTripCase {
    const char* name;
    std::string utf8;
    std::wstring wide;
};

TEST(TextConversion, ConvertsBothWays_ForWellFormedText) {
    const std::wstring presentation = Units(
        {'P', 'r', 0x00E4, 's', 'e', 'n', 't', 'a', 't', 'i', 'o', 'n', '.', 'p', 'p', 't', 'x'});
    const std::vector<RoundTripCase> cases{
        {"ASCII", "deck.pptx", L"deck.pptx"},
        {"two-byte character", "Pr\xC3\xA4sentation.pptx", presentation},
        {"three-byte characters", "\xE8\xB3\x87\xE6\x96\x99", Units({0x8CC7, 0x6599})},
        {"outside the BMP becomes a surrogate pair", "\xF0\x9F\x98\x80", Units({0xD83D, 0xDE00})},
        {"highest code point", "\xF4\x8F\xBF\xBF", Units({0xDBFF, 0xDFFF})},
        {"last BMP code point", "\xEF\xBF\xBF", Units({0xFFFF})},
        {"byte order mark is text", "\xEF\xBB\xBFx", Units({0xFEFF, 'x'})},
        {"embedded zero", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"only a zero", std::string(1, '\0'), std::wstring(1, L'\0')},
    };
    for (const RoundTripCase& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.name;
        EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.name;
    }
    EXPECT_EQ(std::string("Pr\xC3\xA4sentation.pptx").size(), 18u);
    EXPECT_EQ(presentation.size(), 17u);
}

TEST(TextConversion, GivesEmpty_ForEmptyInput) {
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(WideToUtf8(L""), "");
}

struct MalformedUtf8Case {
    const char* name;
    std::string bytes;
};

TEST(Utf8ToWide, GivesEmptyNotPartialText_ForMalformedInput) {
    const std::vector<MalformedUtf8Case> cases{
        {"ends in the lead byte of a two-byte sequence", "Pr\xC3"},
        {"ends inside a four-byte sequence", "deck \xF0\x9F\x98"},
        {"lead byte followed by ASCII", "a\xC3(b"},
        {"lone continuation byte", "a\x80"},
        {"overlong two-byte zero", "a\xC0\x80"},
        {"overlong two-byte slash", "\xC1\xAF"},
        {"overlong three-byte form", "\xE0\x80\xAF"},
        {"overlong four-byte form", "\xF0\x80\x80\xAF"},
        {"encoded high surrogate", "\xED\xA0\x80"},
        {"encoded low surrogate", "\xED\xBF\xBF"},
        {"encoded surrogate pair", "\xED\xA0\xBD\xED\xB8\x80"},
        {"above U+10FFFF", "\xF4\x90\x80\x80"},
        {"five-byte lead", "\xF8\x88\x80\x80\x80"},
        {"byte FE", "\xFE"},
        {"byte FF after valid text", "valid text \xFF"},
    };
    for (const MalformedUtf8Case& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.bytes), L"") << c.name;
    }
}

struct MalformedUtf16Case {
    const char* name;
    std::wstring units;
};

TEST(WideToUtf8, GivesEmptyNotPartialText_ForUnpairedSurrogates) {
    const std::vector<MalformedUtf16Case> cases{
        {"lone high surrogate", Units({0xD800})},
        {"high surrogate at the end", Units({'d', 'e', 'c', 'k', 0xD83D})},
        {"high surrogate before ASCII", Units({0xD83D, 'x'})},
        {"two high surrogates", Units({0xD83D, 0xD83D})},
        {"lone low surrogate", Units({'a', 0xDE00, 'b'})},
        {"pair in the wrong order", Units({0xDE00, 0xD83D})},
    };
    for (const MalformedUtf16Case& c : cases) {
        EXPECT_EQ(WideToUtf8(c.units), "") << c.name;
    }
}

}  // namespace

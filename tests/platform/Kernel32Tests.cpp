// The conversion, module-path and runtime calls as the plug-in relies on them. These hold for
// the Linux stand-ins and for the real Windows calls alike.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "platform/UniqueEvent.h"
#include "tests/platform/Utf16Units.h"

namespace {

int ToWide(DWORD flags, const std::string& text, int length, wchar_t* out, int outSize) {
    return MultiByteToWideChar(CP_UTF8, flags, text.data(), length, out, outSize);
}

int ToUtf8(DWORD flags, const std::wstring& text, int length, char* out, int outSize) {
    return WideCharToMultiByte(CP_UTF8, flags, text.data(), length, out, outSize, nullptr, nullptr);
}

TEST(Events, KeepASetUntilAWaitTakesItOrResetClearsIt) {
    const UniqueEvent automatic;
    const UniqueEvent manual(UniqueEvent::Reset::Manual);
    ASSERT_NE(automatic.Get(), nullptr);
    ASSERT_NE(manual.Get(), nullptr);
    EXPECT_EQ(WaitForSingleObject(automatic.Get(), 0), WAIT_TIMEOUT);
    automatic.Set();
    EXPECT_EQ(WaitForSingleObject(automatic.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic.Get(), 0), WAIT_TIMEOUT) << "one wait per set";

    manual.Set();
    EXPECT_EQ(WaitForSingleObject(manual.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual.Get(), 0), WAIT_OBJECT_0) << "stays set";
    EXPECT_NE(ResetEvent(manual.Get()), FALSE);
    EXPECT_EQ(WaitForSingleObject(manual.Get(), 0), WAIT_TIMEOUT);
}

TEST(Events, SetOnAnotherThread_WakesTheWaiter) {
    const UniqueEvent event;
    std::thread setter([&event] { event.Set(); });
    EXPECT_EQ(WaitForSingleObject(event.Get(), 60000), WAIT_OBJECT_0);
    setter.join();
}

TEST(MultiByteToWideChar, FollowsWindowsLengthConventions) {
    const std::string text("ab\xC3\xA4", 4);
    wchar_t buffer[8];

    // Explicit length: no terminator converted or written.
    EXPECT_EQ(ToWide(MB_ERR_INVALID_CHARS, text, 4, nullptr, 0), 3);
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    ASSERT_EQ(ToWide(MB_ERR_INVALID_CHARS, text, 4, buffer, 3), 3);
    EXPECT_EQ(std::wstring(buffer, 4), Units({'a', 'b', 0xE4, '#'}));

    // -1: zero-terminated input, the terminator converted and counted.
    EXPECT_EQ(ToWide(MB_ERR_INVALID_CHARS, text, -1, nullptr, 0), 4);
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    ASSERT_EQ(ToWide(MB_ERR_INVALID_CHARS, text, -1, buffer, 8), 4);
    EXPECT_EQ(std::wstring(buffer, 5), Units({'a', 'b', 0xE4, 0, '#'}));

    // Embedded zeros count like any other character under an explicit length.
    EXPECT_EQ(ToWide(MB_ERR_INVALID_CHARS, std::string("a\0b", 3), 3, nullptr, 0), 3);

    // A buffer one unit short fails as a whole.
    EXPECT_EQ(ToWide(MB_ERR_INVALID_CHARS, text, 4, buffer, 2), 0);
    EXPECT_EQ(ToWide(MB_ERR_INVALID_CHARS, text, -1, buffer, 3), 0);
}

TEST(MultiByteToWideChar, RejectsInvalidParameters) {
    wchar_t buffer[8];
    EXPECT_EQ(ToWide(0, "abc", 0, buffer, 8), 0);
    EXPECT_EQ(ToWide(0, "abc", 3, buffer, -1), 0);
    EXPECT_EQ(ToWide(0, "abc", 3, nullptr, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, 3, buffer, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, buffer, 8), 0);
}

TEST(MultiByteToWideChar, RejectsMalformedUtf8_WhenStrict) {
    const std::vector<std::string> malformed{
        "\x80",                  // lone continuation byte
        "a\xC3",                 // truncated two-byte sequence
        "\xE2\x82",              // truncated three-byte sequence
        "\xE2\x82x",             // continuation byte missing
        "\xC0\x80",              // overlong
        "\xC1\xBF",              // overlong
        "\xE0\x9F\xBF",          // overlong three-byte form
        "\xF0\x8F\xBF\xBF",      // overlong four-byte form
        "\xED\xA0\x80",          // encoded high surrogate
        "\xED\xBF\xBF",          // encoded low surrogate
        "\xF4\x90\x80\x80",      // above U+10FFFF
        "\xF5\x80\x80\x80",      // lead byte beyond the range
        "\xF8\x88\x80\x80\x80",  // five-byte form
        "\xFE",
        "\xFF",
    };
    wchar_t buffer[16];
    for (const std::string& bytes : malformed) {
        const int length = static_cast<int>(bytes.size());
        EXPECT_EQ(ToWide(MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0), 0) << bytes;
        EXPECT_EQ(ToWide(MB_ERR_INVALID_CHARS, bytes, length, buffer, 16), 0) << bytes;
    }
}

TEST(MultiByteToWideChar, ReplacesMalformedUtf8_WhenNotStrict) {
    wchar_t buffer[8];
    ASSERT_EQ(ToWide(0,
                     "a\xFF"
                     "b",
                     3, buffer, 8),
              3);
    EXPECT_EQ(std::wstring(buffer, 3), Units({'a', 0xFFFD, 'b'}));
}

TEST(WideCharToMultiByte, FollowsWindowsLengthConventions) {
    const std::wstring text = Units({'a', 0xE4, 0xD83D, 0xDE00, 0});
    char buffer[16];

    EXPECT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, text, 4, nullptr, 0), 7);
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, text, 4, buffer, 7), 7);
    EXPECT_EQ(std::string(buffer, 8), "a\xC3\xA4\xF0\x9F\x98\x80#");

    EXPECT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, text, -1, nullptr, 0), 8);
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, text, -1, buffer, 16), 8);
    EXPECT_EQ(std::string(buffer, 9), std::string("a\xC3\xA4\xF0\x9F\x98\x80\0#", 9));

    // A surrogate pair is never split to fit.
    EXPECT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, text, 4, buffer, 6), 0);
    EXPECT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, text, 4, buffer, 3), 0);
}

TEST(WideCharToMultiByte, RejectsInvalidParameters) {
    char buffer[8];
    const std::wstring text = L"abc";
    EXPECT_EQ(ToUtf8(0, text, 0, buffer, 8), 0);
    EXPECT_EQ(ToUtf8(0, text, 3, buffer, -1), 0);
    EXPECT_EQ(ToUtf8(0, text, 3, nullptr, 8), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, nullptr, 3, buffer, 8, nullptr, nullptr), 0);
}

TEST(WideCharToMultiByte, RejectsUnpairedSurrogates_WhenStrict) {
    const std::vector<std::wstring> malformed{
        Units({0xD800}), Units({'a', 0xD83D}),    Units({0xD83D, 'a'}),
        Units({0xDE00}), Units({0xDE00, 0xD83D}), Units({0xD83D, 0xD83D, 0xDE00}),
    };
    char buffer[16];
    for (const std::wstring& units : malformed) {
        const int length = static_cast<int>(units.size());
        EXPECT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, units, length, nullptr, 0), 0);
        EXPECT_EQ(ToUtf8(WC_ERR_INVALID_CHARS, units, length, buffer, 16), 0);
    }
}

TEST(WideCharToMultiByte, ReplacesUnpairedSurrogates_WhenNotStrict) {
    char buffer[8];
    ASSERT_EQ(ToUtf8(0, Units({'a', 0xD800, 'b'}), 3, buffer, 8), 5);
    EXPECT_EQ(std::string(buffer, 5),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(GetModuleFileNameA, CutsPathToBuffer_LikeWindows) {
    char full[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, full, MAX_PATH);
    ASSERT_GT(length, 5u);
    ASSERT_LT(length, MAX_PATH);
    EXPECT_EQ(std::strlen(full), length);

    char cut[6];
    std::memset(cut, '#', sizeof cut);
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, 5), 5u);
    // Windows XP and Wine leave the cut path unterminated; later Windows terminate it.
    EXPECT_EQ(std::string(cut, 4), std::string(full, 4));
    EXPECT_EQ(cut[5], '#');
}

// The build folders hold ASCII only, so the UTF-16 path is the narrow one unit for unit.
TEST(GetModuleFileNameW, AgreesWithTheNarrowPathAndCutsLikeWindows) {
    char narrow[MAX_PATH] = {};
    const DWORD narrowLength = GetModuleFileNameA(nullptr, narrow, MAX_PATH);
    wchar_t wide[MAX_PATH] = {};
    ASSERT_EQ(GetModuleFileNameW(nullptr, wide, MAX_PATH), narrowLength);
    EXPECT_EQ(std::wstring(wide), std::wstring(narrow, narrow + narrowLength));

    wchar_t cut[6];
    std::fill(std::begin(cut), std::end(cut), L'#');
    EXPECT_EQ(GetModuleFileNameW(nullptr, cut, 5), 5u);
    EXPECT_EQ(std::wstring(cut, 4), std::wstring(wide, 4));
    EXPECT_EQ(cut[5], L'#');
}

// The plug-in opens its tables by a Windows-form path.
TEST(_fsopen, OpensBackslashFormOfPath) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("gp-fsopen-" + std::to_string(std::random_device()()) + ".json");
    {
        std::ofstream out(file, std::ios::binary);
        out << "{\"a\": 1}\n";
    }
    std::string windowsForm = file.string();
    std::replace(windowsForm.begin(), windowsForm.end(), '/', '\\');

    std::FILE* opened = _fsopen(windowsForm.c_str(), "rt", _SH_DENYNO);
    ASSERT_NE(opened, nullptr) << windowsForm;
    char content[32] = {};
    const std::size_t read = std::fread(content, 1, sizeof content - 1, opened);
    std::fclose(opened);
    std::filesystem::remove(file);
    EXPECT_EQ(std::string(content, read), "{\"a\": 1}\n");
}

TEST(_fsopen, FailsForMissingFile) {
    const std::filesystem::path missing =
        std::filesystem::temp_directory_path() / "gp-fsopen-missing" / "none.json";
    EXPECT_EQ(_fsopen(missing.string().c_str(), "rt", _SH_DENYNO), nullptr);
}

// The plug-in ends this way once the host link closes: at once, with the code given, and without
// running exit handlers (which would tear down what its other threads still use).
TEST(TerminateProcess, EndsTheCurrentProcessAtOnceWithTheCodeGiven) {
    EXPECT_EXIT(
        {
            std::atexit([] { std::fputs("exit handler ran", stderr); });
            TerminateProcess(GetCurrentProcess(), 7);
            std::fputs("returned", stderr);
            std::exit(99);
        },
        testing::ExitedWithCode(7), testing::Not(testing::HasSubstr("ran")));
}

}  // namespace

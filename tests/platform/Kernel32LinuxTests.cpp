// What the Linux stand-ins add to the Windows contract, or where they have to choose.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <future>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace {

TEST(LinuxKernel32, TreatsSystemCodePageAsUtf8) {
    wchar_t wide[4];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "\xC3\xA4", 2, wide, 4), 1);
    EXPECT_EQ(wide[0], static_cast<wchar_t>(0xE4));
    char bytes[4];
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 1, bytes, 4, nullptr, nullptr), 2);
    EXPECT_EQ(std::string(bytes, 2), "\xC3\xA4");
}

TEST(LinuxKernel32, RejectsOtherCodePagesAndFlags) {
    wchar_t wide[4];
    char bytes[4];
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, wide, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0x1, "abc", 3, wide, 4), 0);
    EXPECT_EQ(WideCharToMultiByte(1252, 0, L"abc", 3, bytes, 4, nullptr, nullptr), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0x400, L"abc", 3, bytes, 4, nullptr, nullptr), 0);
}

// A 32-bit wchar_t can hold values that are no UTF-16 unit at all.
TEST(LinuxKernel32, TreatsWideValuesAboveFFFFAsInvalidUnits) {
    const wchar_t wide[] = {L'a', static_cast<wchar_t>(0x1F600), L'b'};
    char bytes[8];
    EXPECT_EQ(
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, 3, bytes, 8, nullptr, nullptr), 0);
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, 3, bytes, 8, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(bytes, 5),
              "a\xEF\xBF\xBD"
              "b");
}

// Each thread reuses its converters: a conversion that fails part-way must leave nothing behind
// for the next call, and threads converting at once must not see each other's state.
TEST(LinuxKernel32, ReusedConvertersCarryNothingBetweenCallsOrThreads) {
    const auto convertInTurn = [] {
        int wrong = 0;
        for (int round = 0; round < 200; ++round) {
            wchar_t wide[8];
            char bytes[8];
            wrong +=
                MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xE2\x82", 3, wide, 8) != 0;
            wrong += MultiByteToWideChar(CP_UTF8, 0, "\xE2\x82\xAC", 3, wide, 8) != 1 ||
                     wide[0] != static_cast<wchar_t>(0x20AC);
            const wchar_t lone[] = {static_cast<wchar_t>(0xD83D)};
            wrong += WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 1, bytes, 8, nullptr,
                                         nullptr) != 0;
            wrong +=
                WideCharToMultiByte(CP_UTF8, 0, L"\x20AC", 1, bytes, 8, nullptr, nullptr) != 3 ||
                std::string(bytes, 3) != "\xE2\x82\xAC";
        }
        return wrong;
    };
    std::vector<std::future<int>> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.push_back(std::async(std::launch::async, convertInTurn));
    }
    for (std::future<int>& thread : threads) {
        EXPECT_EQ(thread.get(), 0);
    }
}

// Windows documents these as invalid parameters; Wine accepts them, so only the stand-in is
// held to them.
TEST(LinuxKernel32, RejectsLengthsBelowMinusOneAndDefaultCharacters) {
    wchar_t wide[8];
    char bytes[8];
    BOOL usedDefault = FALSE;
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -2, wide, 8), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"abc", -2, bytes, 8, nullptr, nullptr), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"abc", 3, bytes, 8, "?", nullptr), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"abc", 3, bytes, 8, nullptr, &usedDefault), 0);
}

// Like Windows since Vista: cut to size - 1 bytes and terminated.
TEST(LinuxKernel32, ModuleFileNameIsTerminatedWhenCut) {
    char full[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, full, MAX_PATH), 5u);
    char cut[6] = {'#', '#', '#', '#', '#', '#'};
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, 5), 5u);
    EXPECT_EQ(std::string(cut), std::string(full, 4));
}

TEST(LinuxKernel32, ModuleFileNameIsProcSelfExe) {
    char expected[PATH_MAX] = {};
    ASSERT_GT(readlink("/proc/self/exe", expected, sizeof expected - 1), 0);
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    EXPECT_EQ(std::string(buffer, length), expected);
}

TEST(LinuxKernel32, ModuleFileNameFailsForOtherModulesAndEmptyBuffer) {
    char buffer[MAX_PATH] = {};
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(buffer), buffer, MAX_PATH), 0u);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 0), 0u);
    EXPECT_EQ(GetModuleFileNameA(nullptr, nullptr, MAX_PATH), 0u);
}

TEST(LinuxKernel32, TerminateProcessRefusesHandlesOtherThanTheCurrentProcess) {
    int notAProcess = 0;
    EXPECT_EQ(TerminateProcess(&notAProcess, 3), FALSE);
    EXPECT_EQ(TerminateProcess(nullptr, 3), FALSE);
}

}  // namespace

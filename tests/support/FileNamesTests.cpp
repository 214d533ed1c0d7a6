#include "support/FileNames.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/ExpectEach.h"

namespace {

TEST(FileNameFromPath, GivesTextAfterLastBackslash) {
    const Expectations<std::wstring, std::wstring> cases{
        {LR"(C:\Talks\Q3 review.pptx)", L"Q3 review.pptx"},
        {LR"(\\server\share\deck.pptx)", L"deck.pptx"},
        {LR"(C:\Talks\noextension)", L"noextension"},
        {LR"(C:\Talks/deck.pptx)", L"Talks/deck.pptx"},
        {LR"(\deck.pptx)", L"deck.pptx"},
        {LR"(C:\Talks\)", L""},
        {LR"(C:/Talks/deck.pptx)", L""},
        {L"deck.pptx", L""},
        {L"", L""},
        // '.' does not match a line terminator, so nothing before the last backslash may hold one.
        {L"C:\\Ta\nlks\\deck.pptx", L""},
    };
    ExpectEach(FileNameFromPath, cases);
}

struct FileStemCase {
    SeparatorStyle style;
    std::wstring path;
    std::wstring expected;
};

TEST(FileStemFromPath, GivesLastComponentWithoutExtension) {
    const SeparatorStyle back = SeparatorStyle::Backslash;
    const SeparatorStyle forward = SeparatorStyle::ForwardSlash;
    const std::vector<FileStemCase> cases{
        {back, LR"(C:\Talks\Q3 review.pptx)", L"Q3 review"},
        {back, LR"(C:\Talks\deck.final.pptx)", L"deck.final"},
        {back, LR"(C:\Talks\a.b.)", L"a"},
        {back, LR"(C:\dir/deck.pptx)", L"dir/deck"},
        {back, LR"(\\server\share\deck.pptx)", L"deck"},
        {back, LR"(C:\Talks\README)", L""},
        {back, LR"(C:\Talks\.pptx)", L""},
        {back, LR"(C:\Talks\deck.)", L""},
        {back, LR"(C:/Talks/deck.pptx)", L""},
        {back, L"deck.pptx", L""},
        {back, L"", L""},
        {forward, L"C:/Talks/Q3 review.pptx", L"Q3 review"},
        {forward, L"C:/Talks/deck.final.pptx", L"deck.final"},
        {forward, LR"(C:\dir/deck.pptx)", L"deck"},
        {forward, L"/deck.pptx", L"deck"},
        {forward, L"C:/Talks/deck", L""},
        {forward, L"C:/Talks/.pptx", L""},
        {forward, LR"(C:\Talks\deck.pptx)", L""},
        {forward, LR"(C:/Talks/deck\x.pptx)", L""},
        {forward, L"deck.pptx", L""},
        {forward, L"", L""},
    };
    for (const FileStemCase& c : cases) {
        const char* style = c.style == back ? "backslash" : "forward slash";
        EXPECT_EQ(FileStemFromPath(c.path, c.style), c.expected) << style << ": " << c.path;
    }
}

TEST(FileNames, KeepNonAsciiAndSurrogateUnits) {
    const std::wstring name{0x00E4, 0xD83D, 0xDE00};
    EXPECT_EQ(FileNameFromPath(L"C:\\Talks\\" + name + L".pptx"), name + L".pptx");
    EXPECT_EQ(FileStemFromPath(L"C:\\Talks\\" + name + L".pptx", SeparatorStyle::Backslash), name);
    EXPECT_EQ(FileStemFromPath(L"C:/Talks/" + name + L".pptx", SeparatorStyle::ForwardSlash), name);
}

// The regex matcher recurses once per character; a very long path would overflow the stack.
TEST(FileNames, GiveEmptyWithoutCrashing_ForVeryLongPaths) {
    const std::wstring longName(200000, L'a');
    EXPECT_EQ(FileNameFromPath(L"C:\\dir\\" + longName + L".pptx"), L"");
    EXPECT_EQ(FileStemFromPath(L"C:\\dir\\" + longName + L".pptx", SeparatorStyle::Backslash), L"");
    EXPECT_EQ(FileStemFromPath(L"C:/dir/" + longName + L".pptx", SeparatorStyle::ForwardSlash),
              L"");
}

TEST(FileNames, StillMatchLongButRealisticPaths) {
    const std::wstring folder = L"C:\\" + std::wstring(1000, L'f');
    const std::wstring name(1000, L'n');
    EXPECT_EQ(FileNameFromPath(folder + L"\\" + name + L".pptx"), name + L".pptx");
    EXPECT_EQ(FileStemFromPath(folder + L"\\" + name + L".pptx", SeparatorStyle::Backslash), name);
}

TEST(FileNames, GiveSameResults_WhenFirstCalledFromManyThreads) {
    std::vector<std::wstring> names(8);
    std::vector<std::wstring> stems(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < names.size(); ++i) {
        threads.emplace_back([i, &names, &stems] {
            names[i] = FileNameFromPath(L"C:\\Talks\\deck.pptx");
            stems[i] = FileStemFromPath(L"C:/Talks/deck.pptx", SeparatorStyle::ForwardSlash);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i], L"deck.pptx");
        EXPECT_EQ(stems[i], L"deck");
    }
}

}  // namespace

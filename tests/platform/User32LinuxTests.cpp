#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/linux/WindowList.h"

namespace {

class User32 : public ::testing::Test {
protected:
    void SetUp() override { WindowList::Instance().Clear(); }
    void TearDown() override { WindowList::Instance().Clear(); }

    // Windows A, B, C, ... created in that order, so the last one is on top.
    void CreateWindows(const std::string& letters) {
        for (char letter : letters) {
            HWND window = WindowList::Instance().Create(L"Test", std::wstring(1, letter), nullptr);
            byLetter[letter] = window;
            byHandle[window] = letter;
        }
    }
    std::string Order() {
        std::string order;
        for (HWND window : WindowList::Instance().ZOrder()) {
            order += byHandle.at(window);
        }
        return order;
    }
    std::string Topmost() {
        std::string topmost;
        for (const auto& [letter, window] : byLetter) {
            if (WindowList::Instance().IsTopmost(window)) {
                topmost += letter;
            }
        }
        return topmost;
    }
    HWND InsertAfter(const std::string& name) {
        static const std::map<std::string, HWND> special = {{"TOPMOST", HWND_TOPMOST},
                                                            {"NOTOPMOST", HWND_NOTOPMOST},
                                                            {"TOP", HWND_TOP},
                                                            {"BOTTOM", HWND_BOTTOM}};
        auto found = special.find(name);
        return found != special.end() ? found->second : byLetter.at(name[0]);
    }

    std::map<char, HWND> byLetter;
    std::map<HWND, char> byHandle;
};

struct ZStep {
    char window;
    std::string insertAfter;
    UINT flags;
};

struct ZOrderCase {
    const char* name;
    std::vector<ZStep> steps;
    std::string order;  // top first, after the steps
    std::string topmost;
};
void PrintTo(const ZOrderCase& c, std::ostream* out) {
    *out << c.name;
}

class SetWindowPosZOrder : public User32, public ::testing::WithParamInterface<ZOrderCase> {};

TEST_P(SetWindowPosZOrder, MovesWithinTheTopmostBands) {
    CreateWindows("ABCD");
    ASSERT_EQ(Order(), "DCBA");
    for (const ZStep& step : GetParam().steps) {
        EXPECT_NE(SetWindowPos(byLetter.at(step.window), InsertAfter(step.insertAfter), 0, 0, 0, 0,
                               step.flags),
                  FALSE);
    }
    EXPECT_EQ(Order(), GetParam().order);
    EXPECT_EQ(Topmost(), GetParam().topmost);
}

constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE;

INSTANTIATE_TEST_SUITE_P(
    Steps, SetWindowPosZOrder,
    ::testing::Values(
        ZOrderCase{"TopmostGoesAboveAll", {{'A', "TOPMOST", kKeep}}, "ADCB", "A"},
        ZOrderCase{"NewTopmostGoesAboveOlderTopmost",
                   {{'B', "TOPMOST", kKeep}, {'A', "TOPMOST", kKeep}},
                   "ABDC",
                   "AB"},
        ZOrderCase{"NotopmostLandsBelowTheTopmostBand",
                   {{'B', "TOPMOST", kKeep}, {'A', "TOPMOST", kKeep}, {'A', "NOTOPMOST", kKeep}},
                   "BADC",
                   "B"},
        ZOrderCase{
            "NotopmostLeavesAnOrdinaryWindowInPlace", {{'A', "NOTOPMOST", kKeep}}, "DCBA", ""},
        ZOrderCase{"RaisePairLeavesWindowOnTopOfOrdinaryWindows",
                   {{'C', "TOPMOST", kKeep},
                    {'A', "TOPMOST", SWP_NOREDRAW | kKeep},
                    {'A', "NOTOPMOST", kKeep}},
                   "CADB",
                   "C"},
        ZOrderCase{
            "NoZOrderFlagChangesNothing", {{'A', "TOPMOST", SWP_NOZORDER | kKeep}}, "DCBA", ""},
        ZOrderCase{"TopStaysBelowTopmostWindows",
                   {{'B', "TOPMOST", kKeep}, {'A', "TOP", kKeep}},
                   "BADC",
                   "B"},
        ZOrderCase{
            "BottomClearsTopmost", {{'B', "TOPMOST", kKeep}, {'B', "BOTTOM", kKeep}}, "DCAB", ""},
        ZOrderCase{"AfterAWindowGoesRightBelowIt", {{'A', "D", kKeep}}, "DACB", ""}));

TEST_F(User32, GetWindow_WalksFromTheTopToTheBottom) {
    CreateWindows("ABC");
    std::string walked;
    for (HWND window = GetTopWindow(GetDesktopWindow()); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        walked += byHandle.at(window);
    }
    EXPECT_EQ(walked, "CBA");
    EXPECT_EQ(GetWindow(byLetter['A'], GW_HWNDPREV), byLetter['B']);
    EXPECT_EQ(GetWindow(byLetter['C'], GW_HWNDPREV), nullptr);
    EXPECT_EQ(GetWindow(byLetter['B'], GW_HWNDFIRST), byLetter['C']);
    EXPECT_EQ(GetWindow(byLetter['B'], GW_HWNDLAST), byLetter['A']);
    EXPECT_EQ(GetTopWindow(byLetter['B']), nullptr);  // top-level windows have no children

    DestroyWindow(byLetter['B']);
    EXPECT_EQ(GetWindow(byLetter['C'], GW_HWNDNEXT), byLetter['A']);
    EXPECT_EQ(GetWindow(byLetter['B'], GW_HWNDNEXT), nullptr);
}

TEST_F(User32, Walk_EmptyDesktopHasNoTopWindow) {
    ASSERT_NE(GetDesktopWindow(), nullptr);
    EXPECT_EQ(GetTopWindow(GetDesktopWindow()), nullptr);
}

struct TextCase {
    std::size_t length;
    int bufferSize;
    int expected;
};
void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.length << " units into " << c.bufferSize;
}

class WindowTexts : public User32, public ::testing::WithParamInterface<TextCase> {};

TEST_P(WindowTexts, ClassAndTitle_AreCutToTheBufferAndTerminated) {
    const TextCase& c = GetParam();
    const std::wstring text(c.length, L'x');
    HWND window = WindowList::Instance().Create(text, text, nullptr);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(c.bufferSize) + 1, L'#');

    EXPECT_EQ(GetClassNameW(window, buffer.data(), c.bufferSize), c.expected);
    EXPECT_EQ(std::wstring(buffer.data()),
              std::wstring(static_cast<std::size_t>(c.expected), L'x'));
    EXPECT_EQ(buffer[static_cast<std::size_t>(c.bufferSize)], L'#') << "wrote past the buffer";

    std::fill(buffer.begin(), buffer.end(), L'#');
    EXPECT_EQ(GetWindowTextW(window, buffer.data(), c.bufferSize), c.expected);
    EXPECT_EQ(std::wstring(buffer.data()),
              std::wstring(static_cast<std::size_t>(c.expected), L'x'));
    EXPECT_EQ(buffer[static_cast<std::size_t>(c.bufferSize)], L'#') << "wrote past the buffer";
}

INSTANTIATE_TEST_SUITE_P(Lengths, WindowTexts,
                         ::testing::Values(TextCase{0, 256, 0}, TextCase{13, 256, 13},
                                           TextCase{255, 256, 255}, TextCase{256, 256, 255},
                                           TextCase{300, 256, 255}, TextCase{5, 1, 0},
                                           TextCase{5, 3, 2}));

TEST_F(User32, Texts_OfAVanishedWindowReadAsFailure) {
    HWND window = WindowList::Instance().Create(L"PPTFrameClass", L"Gone - PowerPoint", nullptr);
    DestroyWindow(window);
    wchar_t buffer[256] = L"stale";
    EXPECT_EQ(GetClassNameW(window, buffer, 256), 0);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(GetWindowTextW(window, buffer, 256), 0);
    EXPECT_EQ(buffer[0], L'\0');
}

TEST_F(User32, SetWindowPos_FailureHookRecordsAndLeavesOrder) {
    CreateWindows("AB");
    WindowList::Instance().FailSetWindowPos(byLetter['A'], true);
    EXPECT_EQ(SetWindowPos(byLetter['A'], HWND_TOPMOST, 0, 0, 0, 0, 0x000B), FALSE);
    EXPECT_EQ(Order(), "BA");
    EXPECT_NE(SetWindowPos(byLetter['B'], HWND_TOPMOST, 0, 0, 0, 0, 0x000B), FALSE);
    EXPECT_EQ(SetWindowPos(reinterpret_cast<HWND>(0x7777), HWND_TOPMOST, 0, 0, 0, 0, 3), FALSE);

    const std::vector<SetWindowPosCall> calls = WindowList::Instance().SetWindowPosCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].window, byLetter['A']);
    EXPECT_EQ(calls[0].insertAfter, HWND_TOPMOST);
    EXPECT_EQ(calls[0].flags, 0x000Bu);
    EXPECT_EQ(calls[0].result, FALSE);
    EXPECT_NE(calls[1].result, FALSE);
    EXPECT_EQ(calls[2].result, FALSE);

    WindowList::Instance().FailSetWindowPos(byLetter['A'], false);
    EXPECT_NE(SetWindowPos(byLetter['A'], HWND_TOPMOST, 0, 0, 0, 0, 0x000B), FALSE);
}

TEST_F(User32, UpdateWindow_IsRecorded) {
    EXPECT_NE(UpdateWindow(GetDesktopWindow()), FALSE);
    EXPECT_EQ(WindowList::Instance().UpdateWindowCalls(), std::vector<HWND>{GetDesktopWindow()});
}

struct Delivered {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Delivered> delivered;

LRESULT RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    delivered.push_back({window, message, wParam, lParam});
    return message == WM_CLOSE ? 0 : static_cast<LRESULT>(wParam) + lParam;
}

TEST_F(User32, SendMessageW_CallsTheProcedureAndReturnsItsAnswer) {
    delivered.clear();
    HWND window = WindowList::Instance().Create(L"Test", L"", &RecordingProcedure);
    EXPECT_EQ(SendMessageW(window, 0x0400, 40, 2), 42);
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[1].window, window);
    EXPECT_EQ(delivered[1].message, WM_CLOSE);
    // This procedure ignores WM_CLOSE, so the window stays.
    EXPECT_NE(IsWindow(window), FALSE);
}

TEST_F(User32, SendMessageW_CloseWithTheDefaultProcedureDestroysTheWindow) {
    HWND window = WindowList::Instance().Create(L"Test", L"", nullptr);
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(IsWindow(window), FALSE);
    EXPECT_EQ(GetTopWindow(GetDesktopWindow()), nullptr);

    delivered.clear();
    EXPECT_EQ(SendMessageW(window, 0x0400, 1, 1), 0);  // a destroyed window receives nothing
    EXPECT_TRUE(delivered.empty());
}

TEST(MessageBox, WritesCaptionAndTextAsOneUtf8Line) {
    const std::wstring text =
        std::wstring(L"Gr") + wchar_t{0x00FC} + L"\u00DF" + L" " + std::wstring{0xD83D, 0xDE00};
    ::testing::internal::CaptureStderr();
    const int answer =
        MessageBoxW(nullptr, text.c_str(), L"Error", MB_SETFOREGROUND | MB_ICONERROR);
    const std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(written, "Error: Gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80\n");
}

}  // namespace

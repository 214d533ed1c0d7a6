// The user32 stand-ins' own side: their window list, its test hooks, message delivery and the
// message box on standard error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/linux/WindowList.h"

namespace {

class User32Linux : public ::testing::Test {
protected:
    void SetUp() override { WindowList::Instance().Clear(); }
    void TearDown() override { WindowList::Instance().Clear(); }

    static HWND Make(const wchar_t* title) {
        return WindowList::Instance().Create(L"Test", title, nullptr);
    }
};

// Here the test's windows are the whole desktop, so its ends are theirs.
TEST_F(User32Linux, Walk_EndsOfTheDesktop) {
    ASSERT_NE(GetDesktopWindow(), nullptr);
    EXPECT_EQ(GetTopWindow(GetDesktopWindow()), nullptr);
    HWND bottom = Make(L"A");
    HWND middle = Make(L"B");
    HWND top = Make(L"C");
    EXPECT_EQ(GetWindow(top, GW_HWNDPREV), nullptr);
    EXPECT_EQ(GetWindow(middle, GW_HWNDFIRST), top);
    EXPECT_EQ(GetWindow(middle, GW_HWNDLAST), bottom);
}

// The terminator always lands: in a one-unit buffer, and for a window that has gone.
TEST_F(User32Linux, Texts_BufferIsAlwaysTerminated) {
    HWND window = Make(L"Title");
    wchar_t buffer[2] = {L'#', L'#'};
    EXPECT_EQ(GetClassNameW(window, buffer, 1), 0);
    EXPECT_EQ(buffer[0], L'\0');
    DestroyWindow(window);
    for (auto read : {&GetClassNameW, &GetWindowTextW}) {
        buffer[0] = L'#';
        EXPECT_EQ(read(window, buffer, 2), 0);
        EXPECT_EQ(buffer[0], L'\0');
    }
}

TEST_F(User32Linux, SetWindowPos_FailureHookRecordsAndLeavesOrder) {
    HWND a = Make(L"A");
    HWND b = Make(L"B");
    WindowList::Instance().FailSetWindowPos(a, true);
    EXPECT_EQ(SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, 0x000B), FALSE);
    EXPECT_EQ(WindowList::Instance().ZOrder(), (std::vector<HWND>{b, a}));
    EXPECT_NE(SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, 0x000B), FALSE);
    EXPECT_EQ(SetWindowPos(reinterpret_cast<HWND>(0x7777), HWND_TOPMOST, 0, 0, 0, 0, 3), FALSE);

    const std::vector<SetWindowPosCall> calls = WindowList::Instance().SetWindowPosCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].window, a);
    EXPECT_EQ(calls[0].insertAfter, HWND_TOPMOST);
    EXPECT_EQ(calls[0].flags, 0x000Bu);
    EXPECT_EQ(calls[0].result, FALSE);
    EXPECT_NE(calls[1].result, FALSE);
    EXPECT_EQ(calls[2].result, FALSE);

    WindowList::Instance().FailSetWindowPos(a, false);
    EXPECT_NE(SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, 0x000B), FALSE);
}

TEST_F(User32Linux, UpdateWindow_IsRecorded) {
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

TEST_F(User32Linux, SendMessageW_CallsTheProcedureAndReturnsItsAnswer) {
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

TEST_F(User32Linux, SendMessageW_CloseWithTheDefaultProcedureDestroysTheWindow) {
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

// Window order, walks and texts as the plug-in relies on them, on windows of the test's own.
// These hold for the Linux stand-ins and for the real user32 alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "platform/UniqueEvent.h"
#include "tests/platform/TestWindows.h"

namespace {

class User32 : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& [window, letter] : byHandle) {
            DestroyWindow(window);
        }
    }

    // Windows A, B, C, ... created in that order, so the last one is on top.
    void CreateWindows(const std::string& letters) {
        for (char letter : letters) {
            HWND window = CreateTestWindow(std::wstring(1, letter));
            ASSERT_NE(window, nullptr);
            byLetter[letter] = window;
            byHandle[window] = letter;
        }
    }
    // This test's windows in Z order, top first; other programs' windows are skipped.
    std::string Order() {
        std::string order;
        for (HWND window = GetTopWindow(GetDesktopWindow()); window != nullptr;
             window = GetWindow(window, GW_HWNDNEXT)) {
            const auto found = byHandle.find(window);
            if (found != byHandle.end()) {
                order += found->second;
            }
        }
        return order;
    }
    std::string Topmost() {
        std::string topmost;
        for (const auto& [letter, window] : byLetter) {
            if (IsTopmostWindow(window)) {
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

// Without SWP_NOACTIVATE the real call also activates the window, which may raise it further;
// the stand-in leaves activation out. The raise pair below uses the plug-in's own flags, under
// which both end alike.
constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

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
                    {'A', "TOPMOST", SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE},
                    {'A', "NOTOPMOST", SWP_NOMOVE | SWP_NOSIZE}},
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
    EXPECT_EQ(Order(), "CBA");
    EXPECT_EQ(GetWindow(byLetter['A'], GW_HWNDPREV), byLetter['B']);
    EXPECT_EQ(GetTopWindow(byLetter['B']), nullptr);  // top-level windows have no children

    DestroyWindow(byLetter['B']);
    EXPECT_EQ(GetWindow(byLetter['C'], GW_HWNDNEXT), byLetter['A']);
    EXPECT_EQ(GetWindow(byLetter['B'], GW_HWNDNEXT), nullptr);
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
    HWND window = CreateTestWindow(std::wstring(c.length, L'x'));
    ASSERT_NE(window, nullptr);
    byHandle[window] = 'x';
    std::vector<wchar_t> buffer(static_cast<std::size_t>(c.bufferSize) + 1, L'#');

    EXPECT_EQ(GetWindowTextW(window, buffer.data(), c.bufferSize), c.expected);
    EXPECT_EQ(std::wstring(buffer.data()),
              std::wstring(static_cast<std::size_t>(c.expected), L'x'));
    EXPECT_EQ(buffer[static_cast<std::size_t>(c.bufferSize)], L'#') << "wrote past the buffer";

    const std::wstring className(kTestWindowClass);
    const int classExpected = std::min(static_cast<int>(className.size()), c.bufferSize - 1);
    std::fill(buffer.begin(), buffer.end(), L'#');
    EXPECT_EQ(GetClassNameW(window, buffer.data(), c.bufferSize), classExpected);
    EXPECT_EQ(std::wstring(buffer.data()),
              className.substr(0, static_cast<std::size_t>(classExpected)));
    EXPECT_EQ(buffer[static_cast<std::size_t>(c.bufferSize)], L'#') << "wrote past the buffer";
}

INSTANTIATE_TEST_SUITE_P(Lengths, WindowTexts,
                         ::testing::Values(TextCase{0, 256, 0}, TextCase{13, 256, 13},
                                           TextCase{255, 256, 255}, TextCase{256, 256, 255},
                                           TextCase{300, 256, 255}, TextCase{5, 3, 2}));

TEST_F(User32, FindWindowEx_WalksTopLevelWindowsByClassAndTitleButNotMessageOnlyOnes) {
    CreateWindows("AB");
    std::string found;
    for (HWND window = FindWindowExW(nullptr, nullptr, kTestWindowClass, nullptr);
         window != nullptr; window = FindWindowExW(nullptr, window, kTestWindowClass, nullptr)) {
        const auto mine = byHandle.find(window);
        found += mine != byHandle.end() ? mine->second : '?';
    }
    EXPECT_EQ(found, "BA");
    EXPECT_EQ(FindWindowExW(nullptr, nullptr, kTestWindowClass, L"A"), byLetter['A']);
    EXPECT_EQ(FindWindowExW(nullptr, byLetter['A'], kTestWindowClass, L"A"), nullptr);
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, kTestWindowClass, nullptr), nullptr);
}

// Only the count is certain: what lands in the buffer differs (see the stand-ins' comments).
// The raise a frame gets leaves a minimised window minimised; a restoring command brings it back.
TEST_F(User32, AMinimisedWindowStaysSoWhenRaisedUntilRestored) {
    CreateWindows("A");
    HWND window = byLetter['A'];
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_NE(SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 0);
    EXPECT_NE(SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 0);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(IsIconic(window));
}

TEST_F(User32, Texts_OfAVanishedWindowReadAsFailure) {
    HWND window = CreateTestWindow(L"Gone - PowerPoint");
    ASSERT_NE(window, nullptr);
    DestroyWindow(window);
    wchar_t buffer[256] = L"stale";
    EXPECT_EQ(GetClassNameW(window, buffer, 256), 0);
    EXPECT_EQ(GetWindowTextW(window, buffer, 256), 0);
}

}  // namespace

namespace {

// A message sent to a window of another thread is answered only when that thread pumps: the
// worker's idle wait must pump for a broadcast or a direct send to return.
TEST(User32Messages, SendToAnotherThreadsWindow_WaitsUntilThatThreadPumps) {
    std::mutex mutex;
    std::condition_variable changed;
    HWND window = nullptr;
    bool pump = false;
    std::atomic<bool> done{false};
    std::thread owner([&] {
        HWND created = CreateTestWindow(L"owner");
        std::unique_lock<std::mutex> lock(mutex);
        window = created;
        changed.notify_all();
        changed.wait(lock, [&] { return pump; });
        lock.unlock();
        while (!done) {
            MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
        }
        DestroyWindow(created);
    });
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return window != nullptr; });
    }
    DWORD_PTR answer = 1;
    EXPECT_EQ(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 100, &answer), 0);
    {
        std::lock_guard<std::mutex> lock(mutex);
        pump = true;
    }
    changed.notify_all();
    EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer), 0);
    EXPECT_EQ(answer, 0u);
    done = true;
    owner.join();
}

// The apartment thread's idle wait: for its event or its messages, and it tells which.
TEST(User32Messages, WaitForAnEventOrInput_TellsWhichCameAndKeepsWhatCameBefore) {
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
    const UniqueEvent event;
    HANDLE handle = event.Get();
    ASSERT_NE(handle, nullptr);
    auto waitFor = [&handle](DWORD flags) {
        return MsgWaitForMultipleObjectsEx(1, &handle, 0, QS_ALLINPUT, flags);
    };
    EXPECT_EQ(waitFor(MWMO_INPUTAVAILABLE), WAIT_TIMEOUT);
    event.Set();  // before the wait: kept for it
    EXPECT_EQ(waitFor(MWMO_INPUTAVAILABLE), WAIT_OBJECT_0);
    EXPECT_EQ(waitFor(MWMO_INPUTAVAILABLE), WAIT_TIMEOUT) << "the wait took the event";

    ASSERT_EQ(PostThreadMessageW(GetCurrentThreadId(), WM_APP + 2, 0, 0), TRUE);
    EXPECT_EQ(waitFor(MWMO_INPUTAVAILABLE), WAIT_OBJECT_0 + 1);
    // Looked at but left in the queue: only a wait for any input still wakes for it.
    ASSERT_EQ(PeekMessageW(&message, nullptr, WM_APP + 2, WM_APP + 2, PM_NOREMOVE), TRUE);
    EXPECT_EQ(waitFor(0), WAIT_TIMEOUT);
    EXPECT_EQ(waitFor(MWMO_INPUTAVAILABLE), WAIT_OBJECT_0 + 1);
    ASSERT_EQ(PeekMessageW(&message, nullptr, WM_APP + 2, WM_APP + 2, PM_REMOVE), TRUE);
}

TEST(User32Messages, PostedThreadMessage_WaitsInTheQueueUntilTaken) {
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
    ASSERT_EQ(PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 7, 9), TRUE);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE),
              WAIT_OBJECT_0);
    ASSERT_EQ(PeekMessageW(&message, nullptr, WM_APP + 1, WM_APP + 1, PM_NOREMOVE), TRUE);
    ASSERT_EQ(PeekMessageW(&message, nullptr, WM_APP + 1, WM_APP + 1, PM_REMOVE), TRUE);
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.lParam, 9);
    EXPECT_EQ(PeekMessageW(&message, nullptr, WM_APP + 1, WM_APP + 1, PM_REMOVE), FALSE);
}

}  // namespace

// Raising and closing PowerPoint's frame windows, on the Linux stand-in's desktop.
#include "support/PowerPointWindows.h"

#include <gtest/gtest.h>

#include <future>
#include <map>
#include <thread>
#include <vector>

#include "platform/linux/WindowList.h"

namespace {

const wchar_t* const kFrameClass = L"PPTFrameClass";
const std::wstring kPath = L"C:\\Talks\\Q3 review.pptx";
const wchar_t* const kTitle = L"Q3 review.pptx - PowerPoint";

std::vector<HWND> closeRequests;

// Answers WM_CLOSE as a frame does: records it and goes away.
LRESULT ClosingProcedure(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        closeRequests.push_back(window);
        WindowList::Instance().Destroy(window);
    }
    return 0;
}

class PowerPointWindows : public ::testing::Test {
protected:
    void SetUp() override {
        WindowList::Instance().Clear();
        closeRequests.clear();
    }
    void TearDown() override { WindowList::Instance().Clear(); }

    // Windows are created top first: each new one goes below the ones before.
    HWND Add(const wchar_t* className, const std::wstring& title) {
        HWND window = WindowList::Instance().Create(className, title, &ClosingProcedure);
        created.push_back(window);
        return window;
    }
    void StackInCreationOrder() {
        for (auto it = created.rbegin(); it != created.rend(); ++it) {
            WindowList::Instance().BringToTop(*it);
        }
        WindowList::Instance().ClearRecordedCalls();
    }

    std::vector<HWND> created;
};

TEST_F(PowerPointWindows, Activate_RaisesOnlyTheHighestFrameThatNamesTheFile) {
    Add(L"Notepad", L"top");
    Add(L"Chrome_WidgetWin_1", kTitle);
    Add(kFrameClass, L"Q3 reviews.pptx - PowerPoint");
    Add(kFrameClass, L"Q3 review.pptx");
    HWND higher = Add(kFrameClass, kTitle);
    HWND lower = Add(kFrameClass, kTitle);
    StackInCreationOrder();

    EXPECT_TRUE(ActivatePresentationWindow(kPath));

    const std::vector<SetWindowPosCall> moves = WindowList::Instance().SetWindowPosCalls();
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].window, higher);
    EXPECT_EQ(moves[0].insertAfter, HWND_TOPMOST);
    EXPECT_EQ(moves[0].flags, SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(moves[1].window, higher);
    EXPECT_EQ(moves[1].insertAfter, HWND_NOTOPMOST);
    EXPECT_EQ(moves[1].flags, SWP_NOMOVE | SWP_NOSIZE);
    for (const SetWindowPosCall& move : moves) {
        EXPECT_EQ(move.x | move.y | move.cx | move.cy, 0);
    }
    EXPECT_EQ(WindowList::Instance().ZOrder().front(), higher);
    EXPECT_FALSE(WindowList::Instance().IsTopmost(higher));
    EXPECT_NE(WindowList::Instance().ZOrder().front(), lower);
    EXPECT_EQ(WindowList::Instance().UpdateWindowCalls(),
              std::vector<HWND>{WindowList::Instance().Desktop()});
}

TEST_F(PowerPointWindows, Activate_FailingFirstMoveSkipsTheSecondButStillRepaints) {
    HWND frame = Add(kFrameClass, kTitle);
    StackInCreationOrder();
    WindowList::Instance().FailSetWindowPos(frame, true);

    EXPECT_FALSE(ActivatePresentationWindow(kPath));
    EXPECT_EQ(WindowList::Instance().SetWindowPosCalls().size(), 1u);
    EXPECT_EQ(WindowList::Instance().UpdateWindowCalls(),
              std::vector<HWND>{WindowList::Instance().Desktop()});
}

TEST_F(PowerPointWindows, Activate_MovesAFrameOnlyWhenItsTitleNamesTheFile) {
    struct Case {
        std::wstring path;
        std::wstring frameTitle;
        bool raised;
    };
    const Case cases[] = {
        {kPath, L"Intro.pptx - PowerPoint", false},
        {L"C:\\Talks\\Q3 review.PPTX", kTitle, true},  // Windows ignores the case of names
        {L"Q3 review.pptx", kTitle, false},            // no backslash: no file name
        // No file name names no frame, not even one with an empty name.
        {L"Q3 review.pptx", L" - PowerPoint", false},
        {L"C:\\Talks\\", L" - PowerPoint", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.frameTitle.begin(), test.frameTitle.end()));
        WindowList::Instance().Clear();
        created.clear();
        Add(kFrameClass, test.frameTitle);
        StackInCreationOrder();
        EXPECT_EQ(ActivatePresentationWindow(test.path), test.raised);
        EXPECT_EQ(WindowList::Instance().SetWindowPosCalls().size(), test.raised ? 2u : 0u);
    }
}

TEST_F(PowerPointWindows, Activate_OnAnEmptyDesktopIsFalse) {
    EXPECT_FALSE(ActivatePresentationWindow(kPath));
    EXPECT_TRUE(WindowList::Instance().UpdateWindowCalls().empty());
}

TEST_F(PowerPointWindows, Close_AsksEveryFrameAndNoOtherWindow) {
    HWND other = Add(L"Notepad", kTitle);
    HWND first = Add(kFrameClass, kTitle);
    HWND hidden = Add(L"OfficeTooltip", L"");
    HWND second = Add(kFrameClass, L"Intro.pptx - PowerPoint");
    HWND third = Add(kFrameClass, L"");
    StackInCreationOrder();

    EXPECT_TRUE(ClosePowerPointWindows());
    EXPECT_EQ(closeRequests, (std::vector<HWND>{first, second, third}));
    EXPECT_EQ(WindowList::Instance().ZOrder(), (std::vector<HWND>{other, hidden}));
}

TEST_F(PowerPointWindows, Close_WithoutFramesIsFalse) {
    EXPECT_FALSE(ClosePowerPointWindows()) << "empty desktop";
    Add(L"Notepad", L"notes");
    StackInCreationOrder();
    EXPECT_FALSE(ClosePowerPointWindows());
    EXPECT_TRUE(closeRequests.empty());
}

// A frame whose thread does not answer (as when its save prompt waits for the presenter)
// holds up the close only for a bounded time, and the other frames are still asked.
TEST_F(PowerPointWindows, Close_AFrameThatDoesNotAnswerHoldsUpTheOthersOnlyBriefly) {
    std::promise<HWND> made;
    std::promise<void> release;
    std::thread prompting([&made, &release] {
        made.set_value(WindowList::Instance().Create(kFrameClass, kTitle, &ClosingProcedure));
        release.get_future().wait();  // never dispatches the WM_CLOSE
    });
    HWND stuck = made.get_future().get();
    HWND answering = Add(kFrameClass, L"Intro.pptx - PowerPoint");

    EXPECT_TRUE(ClosePowerPointWindows());
    EXPECT_EQ(closeRequests, (std::vector<HWND>{answering}));
    EXPECT_EQ(IsWindow(stuck), TRUE);
    release.set_value();
    prompting.join();
}

}  // namespace

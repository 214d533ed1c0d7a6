#include "platform/linux/WindowList.h"
#include "tests/platform/TestWindows.h"

HWND CreateTestWindow(const std::wstring& title) {
    return WindowList::Instance().Create(kTestWindowClass, title, nullptr);
}

bool IsTopmostWindow(HWND window) {
    return WindowList::Instance().IsTopmost(window);
}

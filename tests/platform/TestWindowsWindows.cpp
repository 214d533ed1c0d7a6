#include "tests/platform/TestWindows.h"

namespace {

void RegisterTestClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kTestWindowClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

HWND CreateTestWindow(const std::wstring& title) {
    RegisterTestClass();
    return CreateWindowExW(0, kTestWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                           0, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool IsTopmostWindow(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

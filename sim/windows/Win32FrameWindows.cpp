// The simulated PowerPoint's frames as real top-level windows of class "PPTFrameClass", owned by
// the server's main thread, whose message loop delivers the WM_CLOSE that other processes send.
#include "sim/WatchedFrameWindows.h"

namespace pptsim {
namespace {

constexpr wchar_t kFrameClass[] = L"PPTFrameClass";

// On top: no visible window above it (hidden helper windows of COM and oleaut32 do not count).
bool IsTopVisibleWindow(HWND window) {
    for (HWND above = GetWindow(window, GW_HWNDPREV); above != nullptr;
         above = GetWindow(above, GW_HWNDPREV)) {
        if (IsWindowVisible(above)) {
            return false;
        }
    }
    return true;
}

class Win32FrameWindows final : public WatchedFrameWindows {
public:
    HWND Create(const std::wstring& title, bool minimized, std::function<void()> onClose) override {
        RegisterFrameClass();
        HWND frame = CreateWindowExW(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                                     CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (frame == nullptr) {
            return nullptr;
        }
        SetCloseHandler(frame, std::move(onClose));
        ShowWindow(frame, minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
        BringToTop(frame);
        return frame;
    }

    void Destroy(HWND frame) override {
        Forget(frame);
        if (frame != nullptr) {
            DestroyWindow(frame);
        }
    }

    void BringToTop(HWND frame) override {
        MuteRaises(frame, true);
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        MuteRaises(frame, false);
    }

    // A real dialog: the Wine lane's tests answer it from outside, as a presenter would.
    int AskToSave(HWND frame, const std::wstring& text, const std::wstring& caption) override {
        return MessageBoxW(frame, text.c_str(), caption.c_str(), MB_YESNOCANCEL | MB_ICONWARNING);
    }

private:
    static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    static void RegisterFrameClass() {
        static const ATOM registered = [] {
            WNDCLASSEXW frameClass{};
            frameClass.cbSize = sizeof frameClass;
            frameClass.lpfnWndProc = &FrameProcedure;
            frameClass.hInstance = GetModuleHandleW(nullptr);
            frameClass.lpszClassName = kFrameClass;
            return RegisterClassExW(&frameClass);
        }();
        static_cast<void>(registered);
    }
};

Win32FrameWindows& Frames() {
    // Never destroyed: frames may still receive messages while the process exits.
    static Win32FrameWindows* const frames = new Win32FrameWindows();
    return *frames;
}

LRESULT CALLBACK Win32FrameWindows::FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    return Frames().HandleFrameMessage(window, message, wParam, lParam,
                                       [window] { return IsTopVisibleWindow(window); });
}

}  // namespace

FrameWindows& PlatformFrameWindows() {
    return Frames();
}

}  // namespace pptsim

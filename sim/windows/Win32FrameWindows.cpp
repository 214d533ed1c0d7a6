// The simulated PowerPoint's frames as real top-level windows of class "PPTFrameClass", owned by
// the server's main thread, whose message loop delivers the WM_CLOSE that other processes send.
#include "sim/FrameMessages.h"
#include "sim/FrameWindows.h"

namespace pptsim {
namespace {

constexpr wchar_t kFrameClass[] = L"PPTFrameClass";

class Win32FrameWindows final : public FrameWindows {
public:
    HWND Create(const std::wstring& title, std::function<void()> onClose) override {
        RegisterFrameClass();
        HWND frame = CreateWindowExW(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                                     CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (frame == nullptr) {
            return nullptr;
        }
        closeHandlers.Set(frame, std::move(onClose));
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        BringToTop(frame);
        return frame;
    }

    void Destroy(HWND frame) override {
        closeHandlers.Erase(frame);
        if (frame != nullptr) {
            DestroyWindow(frame);
        }
    }

    void BringToTop(HWND frame) override {
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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

    FrameCloseHandlers closeHandlers;
};

Win32FrameWindows& Frames() {
    // Never destroyed: frames may still receive messages while the process exits.
    static Win32FrameWindows* const frames = new Win32FrameWindows();
    return *frames;
}

LRESULT CALLBACK Win32FrameWindows::FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    return HandleFrameMessage(Frames().closeHandlers, window, message, wParam, lParam);
}

}  // namespace

FrameWindows& PlatformFrameWindows() {
    return Frames();
}

}  // namespace pptsim

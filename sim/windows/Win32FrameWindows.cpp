// The simulated PowerPoint's frames as real top-level windows of class "PPTFrameClass", owned by
// the server's main thread, whose message loop delivers the WM_CLOSE that other processes send.
#include <map>
#include <mutex>

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
        {
            std::lock_guard<std::mutex> lock(mutex);
            closeHandlers[frame] = std::move(onClose);
        }
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        BringToTop(frame);
        return frame;
    }

    void Destroy(HWND frame) override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            closeHandlers.erase(frame);
        }
        if (frame != nullptr) {
            DestroyWindow(frame);
        }
    }

    void BringToTop(HWND frame) override {
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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

    std::function<void()> CloseHandler(HWND frame) {
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = closeHandlers.find(frame);
        return found != closeHandlers.end() ? found->second : std::function<void()>();
    }

    std::mutex mutex;
    std::map<HWND, std::function<void()>> closeHandlers;
};

Win32FrameWindows& Frames() {
    // Never destroyed: frames may still receive messages while the process exits.
    static Win32FrameWindows* const frames = new Win32FrameWindows();
    return *frames;
}

LRESULT CALLBACK Win32FrameWindows::FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    if (message != WM_CLOSE) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // A copy: the handler closes the presentation, which destroys this frame and its entry.
    const std::function<void()> onClose = Frames().CloseHandler(window);
    if (onClose) {
        onClose();
    } else {
        DestroyWindow(window);
    }
    return 0;
}

}  // namespace

FrameWindows& PlatformFrameWindows() {
    return Frames();
}

}  // namespace pptsim

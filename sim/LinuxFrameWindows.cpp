// Frame windows in the Linux stand-in's window list.
#include <map>
#include <mutex>

#include "platform/linux/WindowList.h"
#include "sim/FrameWindows.h"

namespace pptsim {
namespace {

class LinuxFrameWindows final : public FrameWindows {
public:
    HWND Create(const std::wstring& title, std::function<void()> onClose) override {
        // Held across creation so a WM_CLOSE that arrives at once already finds its handler.
        std::lock_guard<std::mutex> lock(mutex);
        HWND frame = WindowList::Instance().Create(L"PPTFrameClass", title, &FrameProcedure);
        closeHandlers[frame] = std::move(onClose);
        return frame;
    }

    void Destroy(HWND frame) override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            closeHandlers.erase(frame);
        }
        WindowList::Instance().Destroy(frame);
    }

    void BringToTop(HWND frame) override { WindowList::Instance().BringToTop(frame); }

private:
    static LRESULT FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::mutex mutex;
    std::map<HWND, std::function<void()>> closeHandlers;
};

LinuxFrameWindows& Frames() {
    // Never destroyed: the frames' window procedure may run on threads that outlive main.
    static LinuxFrameWindows* const frames = new LinuxFrameWindows();
    return *frames;
}

LRESULT LinuxFrameWindows::FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLOSE) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    std::function<void()> onClose;
    {
        std::lock_guard<std::mutex> lock(Frames().mutex);
        auto found = Frames().closeHandlers.find(window);
        if (found != Frames().closeHandlers.end()) {
            onClose = found->second;
        }
    }
    // The handler closes the presentation and destroys this frame: call it unlocked.
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

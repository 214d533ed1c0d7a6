// Frame windows in the Linux stand-in's window list.
#include <mutex>

#include "platform/linux/WindowList.h"
#include "sim/FrameMessages.h"
#include "sim/FrameWindows.h"

namespace pptsim {
namespace {

class LinuxFrameWindows final : public FrameWindows {
public:
    HWND Create(const std::wstring& title, std::function<void()> onClose) override {
        // Held across creation so a WM_CLOSE that arrives at once already finds its handler.
        std::lock_guard<std::mutex> lock(creating);
        HWND frame = WindowList::Instance().Create(L"PPTFrameClass", title, &FrameProcedure);
        closeHandlers.Set(frame, std::move(onClose));
        return frame;
    }

    void Destroy(HWND frame) override {
        closeHandlers.Erase(frame);
        WindowList::Instance().Destroy(frame);
    }

    void BringToTop(HWND frame) override { WindowList::Instance().BringToTop(frame); }

private:
    static LRESULT FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::mutex creating;
    FrameCloseHandlers closeHandlers;
};

LinuxFrameWindows& Frames() {
    // Never destroyed: the frames' window procedure may run on threads that outlive main.
    static LinuxFrameWindows* const frames = new LinuxFrameWindows();
    return *frames;
}

LRESULT LinuxFrameWindows::FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // A WM_CLOSE sent while its frame is still being created waits for the frame's handler.
        std::lock_guard<std::mutex> created(Frames().creating);
    }
    return HandleFrameMessage(Frames().closeHandlers, window, message, wParam, lParam);
}

}  // namespace

FrameWindows& PlatformFrameWindows() {
    return Frames();
}

}  // namespace pptsim

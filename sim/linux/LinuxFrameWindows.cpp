// Frame windows in the Linux stand-in's window list.
#include <mutex>
#include <vector>

#include "platform/linux/WindowList.h"
#include "sim/FrameMessages.h"
#include "sim/FrameRaises.h"
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
        raises.Forget(frame);
        WindowList::Instance().Destroy(frame);
    }

    // The stand-in's own raise tells the window nothing, as a program's own moves are not raises.
    void BringToTop(HWND frame) override { WindowList::Instance().BringToTop(frame); }

    void WatchRaises(HWND frame, std::function<void()> onRaised) override {
        raises.Watch(frame, std::move(onRaised));
    }

private:
    static LRESULT FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::mutex creating;
    FrameCloseHandlers closeHandlers;
    FrameRaiseWatch raises;
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
    if (message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED) {
        const std::vector<HWND> order = WindowList::Instance().ZOrder();
        Frames().raises.Notice(window, message, lParam, !order.empty() && order.front() == window);
    }
    return HandleFrameMessage(Frames().closeHandlers, window, message, wParam, lParam);
}

}  // namespace

FrameWindows& PlatformFrameWindows() {
    return Frames();
}

}  // namespace pptsim

// Frame windows in the Linux stand-in's window list. Like PowerPoint's, they belong to a thread
// of their own that dispatches their messages, so a WM_CLOSE sent from another thread waits for
// that thread, and a save prompt blocks it (not the sender's thread) until it is answered.
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/WindowList.h"
#include "sim/ModelState.h"
#include "sim/WatchedFrameWindows.h"

namespace pptsim {
namespace {

constexpr DWORD kAnswerPollMs = 50;

// The one PowerPoint window thread: dispatches messages for ever.
DWORD StartWindowThread() {
    std::mutex started;
    std::condition_variable ready;
    DWORD thread = 0;
    std::thread([&] {
        MSG peeked;
        PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE);  // makes the thread's queue
        {
            // Notified under the lock: the starter's locals die as soon as its wait returns.
            std::lock_guard<std::mutex> lock(started);
            thread = GetCurrentThreadId();
            ready.notify_one();
        }
        for (;;) {
            MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
        }
    }).detach();
    std::unique_lock<std::mutex> lock(started);
    ready.wait(lock, [&] { return thread != 0; });
    return thread;
}

// An answer given from outside the process: the file named by PPTSIM_PROMPT_ANSWER holding
// "yes", "no" or "cancel" (taken away once read). Stands in for a presenter clicking a button.
int AnswerFromFile() {
    const char* path = std::getenv("PPTSIM_PROMPT_ANSWER");
    if (path == nullptr || *path == '\0') {
        return 0;
    }
    std::ifstream file(path);
    std::string word;
    if (!(file >> word)) {
        return 0;
    }
    file.close();
    std::remove(path);
    return word == "yes" ? IDYES : word == "no" ? IDNO : word == "cancel" ? IDCANCEL : 0;
}

class LinuxFrameWindows final : public WatchedFrameWindows {
public:
    HWND Create(const std::wstring& title, bool minimized, std::function<void()> onClose) override {
        HWND frame = nullptr;
        {
            // Held across creation so a WM_CLOSE that arrives at once already finds its handler.
            std::lock_guard<std::mutex> lock(creating);
            frame = WindowList::Instance().Create(L"PPTFrameClass", title, &FrameProcedure,
                                                  WindowThread());
            SetCloseHandler(frame, std::move(onClose));
        }
        if (minimized) {
            Show(frame, kWindowMinimized);
        }
        return frame;
    }

    void Destroy(HWND frame) override {
        Forget(frame);
        WindowList::Instance().Destroy(frame);
    }

    // The stand-in's own raise tells the window nothing, as a program's own moves are not raises.
    void BringToTop(HWND frame) override { WindowList::Instance().BringToTop(frame); }

    // A dialog window ("#32770", titled with the caption) that takes its answer as a button's
    // WM_COMMAND, or from PPTSIM_PROMPT_ANSWER; the frames' messages go on meanwhile.
    int AskToSave(HWND /*frame*/, const std::wstring& /*text*/,
                  const std::wstring& caption) override {
        HWND prompt = WindowList::Instance().Create(L"#32770", caption, &PromptProcedure);
        int answer = 0;
        while (answer == 0) {
            MsgWaitForMultipleObjectsEx(0, nullptr, kAnswerPollMs, QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            answer = TakeAnswer(prompt);
            if (answer == 0) {
                answer = AnswerFromFile();
            }
        }
        WindowList::Instance().Destroy(prompt);
        return answer;
    }

private:
    static LRESULT FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT PromptProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    DWORD WindowThread() {
        std::call_once(threadStarted, [this] { windowThread = StartWindowThread(); });
        return windowThread;
    }

    int TakeAnswer(HWND prompt) {
        std::lock_guard<std::mutex> lock(answering);
        const auto found = answers.find(prompt);
        if (found == answers.end()) {
            return 0;
        }
        const int answer = found->second;
        answers.erase(found);
        return answer;
    }

    std::mutex creating;
    std::once_flag threadStarted;
    DWORD windowThread = 0;
    std::mutex answering;
    std::map<HWND, int> answers;  // buttons pressed on prompts, until their loop takes them
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
    return Frames().HandleFrameMessage(window, message, wParam, lParam, [window] {
        const std::vector<HWND> order = WindowList::Instance().ZOrder();
        return !order.empty() && order.front() == window;
    });
}

LRESULT LinuxFrameWindows::PromptProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM /*lParam*/) {
    const int button = static_cast<int>(wParam & 0xFFFF);
    if (message == WM_COMMAND && (button == IDYES || button == IDNO || button == IDCANCEL)) {
        std::lock_guard<std::mutex> lock(Frames().answering);
        Frames().answers[window] = button;
    }
    return 0;
}

}  // namespace

FrameWindows& PlatformFrameWindows() {
    return Frames();
}

}  // namespace pptsim

#include "platform/ProcessWindows.h"

#include <algorithm>

#include "platform/WindowText.h"

namespace {

void Collect(HWND parent, bool messageOnly, const std::function<bool(DWORD)>& belongs,
             std::vector<FoundWindow>& found) {
    HWND window = nullptr;
    while ((window = FindWindowExW(parent, window, nullptr, nullptr)) != nullptr) {
        DWORD processId = 0;
        if (GetWindowThreadProcessId(window, &processId) != 0 && belongs(processId)) {
            found.push_back({window, messageOnly});
        }
    }
}

}  // namespace

std::vector<FoundWindow> FindWindowsOf(const std::function<bool(DWORD processId)>& belongs) {
    std::vector<FoundWindow> found;
    Collect(HWND_MESSAGE, true, belongs, found);
    Collect(nullptr, false, belongs, found);
    return found;
}

std::vector<WindowAnswer> SendNullTo(const std::vector<FoundWindow>& windows,
                                     std::chrono::milliseconds bound,
                                     std::chrono::milliseconds span) {
    using Clock = std::chrono::steady_clock;
    std::vector<WindowAnswer> answers;
    for (const FoundWindow& window : windows) {
        WindowAnswer answer;
        answer.className = WindowClassName(window.handle);
        answer.messageOnly = window.messageOnly;
        answer.answered = true;
        answers.push_back(answer);
    }
    const Clock::time_point end = Clock::now() + span;
    do {
        for (std::size_t index = 0; index < windows.size(); ++index) {
            WindowAnswer& answer = answers[index];
            if (!answer.answered || answer.gone) {
                continue;
            }
            DWORD_PTR result = 0;
            const Clock::time_point started = Clock::now();
            answer.answered = SendMessageTimeoutW(windows[index].handle, WM_NULL, 0, 0, SMTO_BLOCK,
                                                  static_cast<UINT>(bound.count()), &result) != 0;
            answer.took = std::max(
                answer.took,
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started));
            ++answer.sends;
            if (!answer.answered && IsWindow(windows[index].handle) == FALSE) {
                answer.answered = true;
                answer.gone = true;
            }
        }
    } while (Clock::now() < end);
    return answers;
}

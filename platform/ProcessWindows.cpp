#include "platform/ProcessWindows.h"

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

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

}  // namespace

std::vector<FoundWindow> FindWindowsOf(const std::function<bool(DWORD processId)>& belongs) {
    std::vector<FoundWindow> found;
    Collect(HWND_MESSAGE, true, belongs, found);
    Collect(nullptr, false, belongs, found);
    return found;
}

std::vector<WindowAnswer> SendNullTo(const std::vector<FoundWindow>& windows,
                                     std::chrono::milliseconds bound) {
    std::vector<WindowAnswer> answers;
    for (const FoundWindow& window : windows) {
        WindowAnswer answer;
        answer.className = ClassOf(window.handle);
        answer.messageOnly = window.messageOnly;
        DWORD_PTR result = 0;
        const auto started = std::chrono::steady_clock::now();
        answer.answered = SendMessageTimeoutW(window.handle, WM_NULL, 0, 0, SMTO_BLOCK,
                                              static_cast<UINT>(bound.count()), &result) != 0;
        answer.took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        answers.push_back(answer);
    }
    return answers;
}

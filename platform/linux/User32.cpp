// Stand-ins for the window-manager calls (user32) over the window list.
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/Platform.h"
#include "platform/linux/WindowList.h"

namespace {

// Copies text into a caller's buffer of maxCount units, cut to fit and zero-terminated, and
// returns the units copied (without the terminator), as GetClassNameW and GetWindowTextW do.
// A one-unit buffer gets just the terminator, as the documentation's "truncated to
// nMaxCount - 1 characters" says; Wine 8 leaves it untouched for class names.
int CopyToBuffer(const std::wstring& text, LPWSTR buffer, int maxCount) {
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(maxCount - 1));
    text.copy(buffer, count);
    buffer[count] = 0;
    return static_cast<int>(count);
}

// A window's class name or title (read through the window list by `read`) into a caller's
// buffer; 0 for a window that is not there. The documentation promises only 0 then, and Wine 8
// leaves the buffer as it was; an empty string is the safer thing to leave behind.
int CopyWindowText(bool (WindowList::*read)(HWND, std::wstring&) const, HWND window, LPWSTR buffer,
                   int maxCount) {
    if (buffer == nullptr || maxCount <= 0) {
        return 0;
    }
    std::wstring text;
    if (!(WindowList::Instance().*read)(window, text)) {
        buffer[0] = 0;
        return 0;
    }
    return CopyToBuffer(text, buffer, maxCount);
}

// UTF-16 units to UTF-8 through this platform's own conversion; flags 0 turn a lone surrogate
// into U+FFFD rather than losing the whole line.
std::string Utf16ToUtf8(LPCWSTR text) {
    if (text == nullptr || *text == 0) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminator that -1 includes
    return out;
}

}  // namespace

HWND GetDesktopWindow() {
    return WindowList::Instance().Desktop();
}

HWND GetTopWindow(HWND window) {
    // The desktop's (or no window's) first child is the top of the top-level windows; the
    // windows here have no children.
    if (window != nullptr && window != WindowList::Instance().Desktop()) {
        return nullptr;
    }
    return WindowList::Instance().Top();
}

HWND GetWindow(HWND window, UINT command) {
    return WindowList::Instance().Neighbour(window, command);
}

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName) {
    WindowList& list = WindowList::Instance();
    if (parent != nullptr && parent != HWND_MESSAGE && parent != list.Desktop()) {
        return nullptr;
    }
    const std::vector<HWND> siblings = parent == HWND_MESSAGE ? list.MessageOnly() : list.ZOrder();
    auto next = siblings.begin();
    if (childAfter != nullptr) {
        next = std::find(siblings.begin(), siblings.end(), childAfter);
        if (next == siblings.end()) {
            return nullptr;
        }
        ++next;
    }
    for (; next != siblings.end(); ++next) {
        std::wstring text;
        if (className != nullptr &&
            (!list.ClassName(*next, text) ||
             CompareStringOrdinal(text.c_str(), -1, className, -1, TRUE) != CSTR_EQUAL)) {
            continue;
        }
        if (windowName != nullptr && (!list.Title(*next, text) || text != windowName)) {
            continue;
        }
        return *next;
    }
    return nullptr;
}

int GetClassNameW(HWND window, LPWSTR className, int maxCount) {
    return CopyWindowText(&WindowList::ClassName, window, className, maxCount);
}

int GetWindowTextW(HWND window, LPWSTR text, int maxCount) {
    return CopyWindowText(&WindowList::Title, window, text, maxCount);
}

// Moves only in Z order. Activation is left out: without SWP_NOACTIVATE the real call also
// activates the window, which can raise it within its band (Wine 8 does, as documented). The
// plug-in's raise pair ends in the same order either way.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return WindowList::Instance().SetPosition(window, insertAfter, x, y, cx, cy, flags);
}

BOOL UpdateWindow(HWND window) {
    return WindowList::Instance().Update(window);
}

BOOL ShowWindow(HWND window, int command) {
    return WindowList::Instance().Show(window, command) ? TRUE : FALSE;
}

BOOL IsIconic(HWND window) {
    return WindowList::Instance().IsIconic(window) ? TRUE : FALSE;
}

HWND GetForegroundWindow() {
    return WindowList::Instance().Top();
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
    }
    return 0;
}

BOOL DestroyWindow(HWND window) {
    return WindowList::Instance().Destroy(window) ? TRUE : FALSE;
}

BOOL IsWindow(HWND window) {
    return WindowList::Instance().Exists(window) ? TRUE : FALSE;
}

int MessageBoxW(HWND /*owner*/, LPCWSTR text, LPCWSTR caption, UINT /*type*/) {
    const std::string line = (caption != nullptr ? Utf16ToUtf8(caption) : std::string("Error")) +
                             ": " + Utf16ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return IDOK;
}

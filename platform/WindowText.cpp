#include "platform/WindowText.h"

namespace {

template <typename Read>
std::wstring ReadWindowText(HWND window, Read read) {
    wchar_t buffer[kWindowTextRoom] = {};
    // Up to the first zero: what the window manager wrote, whatever length it reports.
    return read(window, buffer, kWindowTextRoom) > 0 ? std::wstring(buffer) : std::wstring();
}

}  // namespace

std::wstring WindowClassName(HWND window) {
    return ReadWindowText(window, GetClassNameW);
}

std::wstring WindowTitle(HWND window) {
    return ReadWindowText(window, GetWindowTextW);
}

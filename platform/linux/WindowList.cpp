#include "platform/linux/WindowList.h"

#include <algorithm>

#include "platform/linux/MessageQueues.h"

namespace {

HWND const desktopWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10010));
const std::wstring desktopClassName = L"#32769";

}  // namespace

WindowList& WindowList::Instance() {
    // Never destroyed: threads that outlive main may still walk the windows at exit.
    static WindowList* const instance = new WindowList();
    return *instance;
}

HWND WindowList::Create(const std::wstring& className, const std::wstring& title, WNDPROC procedure,
                        DWORD ownerThread) {
    if (ownerThread == 0) {
        // Making a window gives its thread a message queue, as on Windows.
        MessageQueues::Instance().EnsureQueue();
        ownerThread = GetCurrentThreadId();
    }
    std::lock_guard<std::mutex> lock(mutex);
    HWND window = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;  // handles are never reused, so a stale one stays invalid
    windows[window] = Window{className, title, procedure, false, ownerThread, false};
    zOrder.insert(zOrder.begin() + static_cast<std::ptrdiff_t>(TopOfNonTopmostBand()), window);
    return window;
}

HWND WindowList::CreateMessageOnly(const std::wstring& className, WNDPROC procedure) {
    MessageQueues::Instance().EnsureQueue();
    std::lock_guard<std::mutex> lock(mutex);
    HWND window = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;
    windows[window] = Window{className, L"", procedure, false, GetCurrentThreadId(), true};
    messageOnly.push_back(window);
    return window;
}

bool WindowList::Destroy(HWND window) {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    if (found == windows.end()) {
        return false;
    }
    std::vector<HWND>& list = found->second.messageOnly ? messageOnly : zOrder;
    list.erase(std::find(list.begin(), list.end(), window));
    windows.erase(found);
    failingSetWindowPos.erase(window);
    return true;
}

bool WindowList::Exists(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex);
    return windows.count(window) != 0;
}

HWND WindowList::Desktop() const {
    return desktopWindow;
}

std::vector<HWND> WindowList::ZOrder() const {
    return LockedCopy(zOrder);
}

std::vector<HWND> WindowList::MessageOnly() const {
    return LockedCopy(messageOnly);
}

bool WindowList::IsTopmost(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    return found != windows.end() && found->second.topmost;
}

bool WindowList::BringToTop(HWND window) {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    if (found == windows.end() || found->second.messageOnly) {
        return false;
    }
    MoveTo(window, found->second.topmost ? 0 : TopOfNonTopmostBand());
    return true;
}

HWND WindowList::Top() const {
    std::lock_guard<std::mutex> lock(mutex);
    return zOrder.empty() ? nullptr : zOrder.front();
}

HWND WindowList::Neighbour(HWND window, UINT command) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    if (found == windows.end() || found->second.messageOnly || zOrder.empty()) {
        return nullptr;
    }
    const std::size_t position = PositionOf(window);
    switch (command) {
        case GW_HWNDFIRST:
            return zOrder.front();
        case GW_HWNDLAST:
            return zOrder.back();
        case GW_HWNDNEXT:
            return position + 1 < zOrder.size() ? zOrder[position + 1] : nullptr;
        case GW_HWNDPREV:
            return position > 0 ? zOrder[position - 1] : nullptr;
        default:
            return nullptr;
    }
}

bool WindowList::ClassName(HWND window, std::wstring& className) const {
    return Text(window, &Window::className, desktopClassName, className);
}

bool WindowList::Title(HWND window, std::wstring& title) const {
    return Text(window, &Window::title, std::wstring(), title);
}

bool WindowList::Text(HWND window, std::wstring Window::*field, const std::wstring& ofDesktop,
                      std::wstring& text) const {
    if (window == desktopWindow) {
        text = ofDesktop;
        return true;
    }
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    if (found == windows.end()) {
        return false;
    }
    text = found->second.*field;
    return true;
}

WNDPROC WindowList::Procedure(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    if (found == windows.end()) {
        return nullptr;
    }
    return found->second.procedure != nullptr ? found->second.procedure : &DefWindowProcW;
}

DWORD WindowList::OwnerThread(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    return found != windows.end() ? found->second.ownerThread : 0;
}

BOOL WindowList::SetPosition(HWND window, HWND insertAfter, int x, int y, int cx, int cy,
                             UINT flags) {
    // As on Windows, the window's procedure hears of the change before and after it; it runs
    // without the list's lock, since it may read the list.
    WINDOWPOS position{window, insertAfter, x, y, cx, cy, flags};
    const WNDPROC procedure = Procedure(window);
    const bool failing = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return failingSetWindowPos.count(window) != 0;
    }();
    if (procedure != nullptr && !failing) {
        procedure(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
    }
    BOOL result = FALSE;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (windows.count(window) != 0 && failingSetWindowPos.count(window) == 0) {
            result = (flags & SWP_NOZORDER) != 0 || Reorder(window, insertAfter) ? TRUE : FALSE;
        }
        setWindowPosCalls.push_back({window, insertAfter, x, y, cx, cy, flags, result});
    }
    if (procedure != nullptr && result != FALSE) {
        procedure(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    }
    return result;
}

BOOL WindowList::Update(HWND window) {
    std::lock_guard<std::mutex> lock(mutex);
    updateWindowCalls.push_back(window);
    return window == desktopWindow || windows.count(window) != 0 ? TRUE : FALSE;
}

bool WindowList::Show(HWND window, int command) {
    WPARAM state = SIZE_RESTORED;
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto found = windows.find(window);
        if (found == windows.end()) {
            return false;
        }
        Window& shown = found->second;
        const bool wasIconic = shown.iconic;
        const bool wasMaximized = shown.maximized;
        switch (command) {
            case SW_SHOWMINIMIZED:
            case SW_MINIMIZE:
            case SW_SHOWMINNOACTIVE:
            case SW_FORCEMINIMIZE:
                shown.iconic = true;
                break;
            case SW_SHOWMAXIMIZED:
                shown.iconic = false;
                shown.maximized = true;
                break;
            case SW_RESTORE:
                // From minimised, back to what it was; otherwise to its normal size.
                shown.maximized = shown.iconic && shown.maximized;
                shown.iconic = false;
                break;
            case SW_SHOWNORMAL:
            case SW_SHOWNOACTIVATE:
            case SW_SHOWDEFAULT:
                shown.iconic = false;
                shown.maximized = false;
                break;
            default:  // SW_HIDE, SW_SHOW, SW_SHOWNA: the state stays
                break;
        }
        changed = shown.iconic != wasIconic || (!shown.iconic && shown.maximized != wasMaximized);
        state = shown.iconic ? SIZE_MINIMIZED : shown.maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    }
    // As on Windows, the procedure hears of the new state; without the lock, since it may read
    // the list.
    const WNDPROC procedure = Procedure(window);
    if (changed && procedure != nullptr) {
        procedure(window, WM_SIZE, state, 0);
    }
    return true;
}

bool WindowList::IsIconic(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = windows.find(window);
    return found != windows.end() && found->second.iconic;
}

void WindowList::FailSetWindowPos(HWND window, bool fail) {
    std::lock_guard<std::mutex> lock(mutex);
    if (fail) {
        failingSetWindowPos.insert(window);
    } else {
        failingSetWindowPos.erase(window);
    }
}

std::vector<SetWindowPosCall> WindowList::SetWindowPosCalls() const {
    return LockedCopy(setWindowPosCalls);
}

std::vector<HWND> WindowList::UpdateWindowCalls() const {
    return LockedCopy(updateWindowCalls);
}

void WindowList::ClearRecordedCalls() {
    std::lock_guard<std::mutex> lock(mutex);
    setWindowPosCalls.clear();
    updateWindowCalls.clear();
}

void WindowList::Clear() {
    std::lock_guard<std::mutex> lock(mutex);
    windows.clear();
    zOrder.clear();
    messageOnly.clear();
    failingSetWindowPos.clear();
    setWindowPosCalls.clear();
    updateWindowCalls.clear();
}

std::size_t WindowList::PositionOf(HWND window) const {
    return static_cast<std::size_t>(std::find(zOrder.begin(), zOrder.end(), window) -
                                    zOrder.begin());
}

std::size_t WindowList::TopOfNonTopmostBand() const {
    return static_cast<std::size_t>(
        std::find_if(zOrder.begin(), zOrder.end(),
                     [this](HWND window) { return !windows.at(window).topmost; }) -
        zOrder.begin());
}

void WindowList::MoveTo(HWND window, std::size_t position) {
    zOrder.erase(zOrder.begin() + static_cast<std::ptrdiff_t>(PositionOf(window)));
    zOrder.insert(zOrder.begin() + static_cast<std::ptrdiff_t>(std::min(position, zOrder.size())),
                  window);
}

// The Z-order part of SetWindowPos, with user32's rules for the topmost band. A message-only
// window has no place in it.
bool WindowList::Reorder(HWND window, HWND insertAfter) {
    Window& moved = windows.at(window);
    if (moved.messageOnly) {
        return false;
    }
    if (insertAfter == HWND_TOPMOST) {
        moved.topmost = true;
        MoveTo(window, 0);
    } else if (insertAfter == HWND_NOTOPMOST) {
        // No effect on a window that is not topmost, as on Windows.
        if (moved.topmost) {
            moved.topmost = false;
            // Taken out first: the band's top is then counted without the window itself.
            zOrder.erase(zOrder.begin() + static_cast<std::ptrdiff_t>(PositionOf(window)));
            zOrder.insert(zOrder.begin() + static_cast<std::ptrdiff_t>(TopOfNonTopmostBand()),
                          window);
        }
    } else if (insertAfter == HWND_TOP) {
        MoveTo(window, moved.topmost ? 0 : TopOfNonTopmostBand());
    } else if (insertAfter == HWND_BOTTOM) {
        moved.topmost = false;
        MoveTo(window, zOrder.size());
    } else {
        auto anchor = windows.find(insertAfter);
        if (anchor == windows.end() || anchor->second.messageOnly) {
            return false;
        }
        if (insertAfter != window) {
            // Placed right below the anchor, the window joins the anchor's band.
            moved.topmost = anchor->second.topmost;
            zOrder.erase(zOrder.begin() + static_cast<std::ptrdiff_t>(PositionOf(window)));
            zOrder.insert(zOrder.begin() + static_cast<std::ptrdiff_t>(PositionOf(insertAfter)) + 1,
                          window);
        }
    }
    return true;
}

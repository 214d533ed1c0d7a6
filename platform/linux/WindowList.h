// The Linux stand-in's desktop: the top-level windows in Z order, top first, and the
// message-only windows (which take no part in the Z order), all of this process. The user32
// stand-ins read and reorder it; the simulated PowerPoint creates its frame windows in it, COM's
// stand-in its apartment windows, and tests arrange windows and check how they were moved.
// Linux only.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

struct SetWindowPosCall {
    HWND window;
    HWND insertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
    BOOL result;
};

class WindowList {
public:
    static WindowList& Instance();

    // A new top-level window, placed at the top of the non-topmost windows, as a newly shown
    // window is. The procedure receives what SendMessageW delivers (null: DefWindowProcW).
    // Its messages are delivered on the owner thread (0: the calling thread, as CreateWindowExW
    // does; a program may name the thread that pumps for its windows).
    HWND Create(const std::wstring& className, const std::wstring& title, WNDPROC procedure,
                DWORD ownerThread = 0);
    // A message-only window (a child of HWND_MESSAGE), made on the calling thread.
    HWND CreateMessageOnly(const std::wstring& className, WNDPROC procedure);
    bool Destroy(HWND window);
    bool Exists(HWND window) const;
    HWND Desktop() const;

    std::vector<HWND> ZOrder() const;
    // The message-only windows, oldest first.
    std::vector<HWND> MessageOnly() const;
    bool IsTopmost(HWND window) const;
    // Raises a window to the top of its band without recording a SetWindowPos call (how the
    // owner of a window brings it forward itself).
    bool BringToTop(HWND window);

    HWND Top() const;
    HWND Neighbour(HWND window, UINT command) const;
    bool ClassName(HWND window, std::wstring& className) const;
    bool Title(HWND window, std::wstring& title) const;
    WNDPROC Procedure(HWND window) const;
    DWORD OwnerThread(HWND window) const;  // 0 for no such window
    BOOL SetPosition(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL Update(HWND window);
    // ShowWindow's state changes (minimised, maximised, restored); false for no such window.
    bool Show(HWND window, int command);
    bool IsIconic(HWND window) const;

    // Test hooks: make SetWindowPos fail for a window; the calls that were made.
    void FailSetWindowPos(HWND window, bool fail);
    std::vector<SetWindowPosCall> SetWindowPosCalls() const;
    std::vector<HWND> UpdateWindowCalls() const;
    void ClearRecordedCalls();
    // Forgets every window, failure and record (for a test's clean start).
    void Clear();

private:
    struct Window {
        std::wstring className;
        std::wstring title;
        WNDPROC procedure;
        bool topmost;
        DWORD ownerThread;
        bool messageOnly;
        bool iconic = false;
        bool maximized = false;  // also while minimised: a restore brings it back maximised
    };

    WindowList() = default;
    // A copy of one of the lists, taken under the lock.
    template <typename List>
    List LockedCopy(const List& list) const {
        std::lock_guard<std::mutex> lock(mutex);
        return list;
    }
    // One of a window's texts, or the desktop's; false for a window not in the list.
    bool Text(HWND window, std::wstring Window::*field, const std::wstring& ofDesktop,
              std::wstring& text) const;
    std::size_t PositionOf(HWND window) const;
    std::size_t TopOfNonTopmostBand() const;
    void MoveTo(HWND window, std::size_t position);
    bool Reorder(HWND window, HWND insertAfter);

    mutable std::mutex mutex;
    std::uintptr_t nextHandle = 0x20000;
    std::map<HWND, Window> windows;
    std::vector<HWND> zOrder;  // top first; topmost windows always come before the others
    std::vector<HWND> messageOnly;
    std::set<HWND> failingSetWindowPos;
    std::vector<SetWindowPosCall> setWindowPosCalls;
    std::vector<HWND> updateWindowCalls;
};

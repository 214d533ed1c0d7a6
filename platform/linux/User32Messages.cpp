// Stand-ins for the message calls (user32) over the thread message queues.
#include "platform/Platform.h"
#include "platform/linux/MessageQueues.h"
#include "platform/linux/WindowList.h"

namespace {

MSG MessageTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG composed{};
    composed.hwnd = window;
    composed.message = message;
    composed.wParam = wParam;
    composed.lParam = lParam;
    return composed;
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) {
        MessageQueues::Instance().EnsureQueue();
        return PostThreadMessageW(GetCurrentThreadId(), message, wParam, lParam);
    }
    const DWORD owner = WindowList::Instance().OwnerThread(window);
    return owner != 0 &&
                   MessageQueues::Instance().Post(owner, MessageTo(window, message, wParam, lParam))
               ? TRUE
               : FALSE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    return MessageQueues::Instance().Post(threadId, MessageTo(nullptr, message, wParam, lParam))
               ? TRUE
               : FALSE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, INFINITE, &answer);
    return static_cast<LRESULT>(answer);
}

LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, PDWORD_PTR result) {
    const DWORD owner = WindowList::Instance().OwnerThread(window);
    if (owner == 0) {
        return 0;
    }
    LRESULT answer = 0;
    if (owner == GetCurrentThreadId()) {
        // The procedure runs without the list's lock: it may well change the list.
        WNDPROC procedure = WindowList::Instance().Procedure(window);
        answer = procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
    } else {
        MessageQueues::Instance().EnsureQueue();
        if (!MessageQueues::Instance().Send(owner, MessageTo(window, message, wParam, lParam),
                                            timeoutMs, (flags & SMTO_BLOCK) != 0, answer)) {
            return 0;
        }
    }
    if (result != nullptr) {
        *result = static_cast<DWORD_PTR>(answer);
    }
    return 1;
}

BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove) {
    if (message == nullptr) {
        return FALSE;
    }
    return MessageQueues::Instance().Peek(*message, window, first, last, (remove & PM_REMOVE) != 0)
               ? TRUE
               : FALSE;
}

LRESULT DispatchMessageW(const MSG* message) {
    if (message == nullptr || message->hwnd == nullptr) {
        return 0;
    }
    WNDPROC procedure = WindowList::Instance().Procedure(message->hwnd);
    return procedure != nullptr
               ? procedure(message->hwnd, message->message, message->wParam, message->lParam)
               : 0;
}

BOOL TranslateMessage(const MSG* /*message*/) {
    return FALSE;  // no keyboard input here to translate
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD timeoutMs,
                                  DWORD /*wakeMask*/, DWORD flags) {
    if (count != 0 && handles == nullptr) {
        return WAIT_FAILED;
    }
    return MessageQueues::Instance().WaitForEventsOrInput(count, handles, timeoutMs,
                                                          (flags & MWMO_INPUTAVAILABLE) != 0);
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    const DWORD owner = WindowList::Instance().OwnerThread(window);
    if (processId != nullptr) {
        *processId = owner != 0 ? GetCurrentProcessId() : 0;
    }
    return owner;
}

#include "automation/MessagePump.h"

namespace {

// Only if the event cannot be waited for (it could not be created): the caller then looks for
// its work this often rather than never.
constexpr DWORD kWithoutEventMs = 50;

}  // namespace

void DispatchWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // A WM_QUIT here would be meant for a loop of the thread's own; this thread has none.
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WaitDispatching(DWORD timeoutMs) {
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    DispatchWaitingMessages();
}

void WaitForEventDispatching(HANDLE event) {
    for (;;) {
        // MWMO_INPUTAVAILABLE: input that arrived before the wait, and was only looked at since,
        // still wakes it.
        const DWORD woken = event == nullptr
                                ? WAIT_FAILED
                                : MsgWaitForMultipleObjectsEx(1, &event, INFINITE, QS_ALLINPUT,
                                                              MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 + 1) {
            DispatchWaitingMessages();
            continue;
        }
        if (woken != WAIT_OBJECT_0) {
            WaitDispatching(kWithoutEventMs);
        }
        return;
    }
}

#include "automation/MessagePump.h"

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

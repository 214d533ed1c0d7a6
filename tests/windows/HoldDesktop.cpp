// hold-desktop.exe
//
// Keeps Wine's desktop process (explorer.exe /desktop) alive for a whole test lane. Wine starts
// that process on demand from the first program that needs the desktop, and it inherits that
// program's standard handles; started from a plug-in under test, it would hold the test's
// output pipes open long after the plug-in has ended. Started once, early, with its output
// going nowhere, this program makes the desktop exist before any test runs, and stays until
// the lane ends its Wine session.
#include "platform/Platform.h"

int wmain() {
    // A window of our own connects this process to the desktop, so the desktop stays up.
    HWND window = CreateWindowExW(0, L"STATIC", L"glyphpad-lane-desktop", 0, 0, 0, 0, 0, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}

#include "fieldcheck/ForegroundWindow.h"

#include "platform/Platform.h"
#include "support/TextConversion.h"
#include "support/TopLevelWindows.h"

std::string DescribeForegroundWindow() {
    HWND window = GetForegroundWindow();
    if (window == nullptr) {
        return "no window";
    }
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return "'" + WideToUtf8(WindowClassName(window)) + "' '" + WideToUtf8(WindowTitle(window)) +
           "', of " + (process == GetCurrentProcessId() ? "this program" : "another program");
}

#include "fieldcheck/ForegroundWindow.h"

#include "platform/Platform.h"
#include "platform/WindowText.h"
#include "support/TextConversion.h"

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

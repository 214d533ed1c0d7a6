// dismiss-dialog.exe [caption] [timeout-ms] [ok|yes|no|cancel|none]
//
// Waits for a top-level dialog (window class "#32770") with the given caption (default
// "Error"), writes its message text to standard output as one UTF-8 line, and presses the
// button (default OK; none leaves the dialog waiting). Lets the Windows lane answer the plug-in's
// message box from outside, as a user would. Exit codes: 0 dismissed, 1 no such dialog within the
// timeout (default 10000 ms), 2 bad usage.
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>

#include "platform/Platform.h"

namespace {

constexpr DWORD kPollMs = 50;

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), size, nullptr, nullptr);
    }
    return utf8;
}

// The first non-empty static text of the dialog: the message a message box shows.
BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (CompareStringOrdinal(className, -1, L"Static", -1, TRUE) != CSTR_EQUAL) {
        return TRUE;
    }
    wchar_t text[1024] = {};
    if (GetWindowTextW(child, text, 1024) == 0) {
        return TRUE;
    }
    *reinterpret_cast<std::wstring*>(context) = text;
    return FALSE;
}

HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs) {
    const DWORD started = GetTickCount();
    for (;;) {
        if (HWND dialog = FindWindowW(L"#32770", caption)) {
            return dialog;
        }
        if (GetTickCount() - started >= timeoutMs) {
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

constexpr int kNoButton = -1;

// The button's command identifier (kNoButton for none); 0 for a name that is none of them.
int ButtonNamed(const wchar_t* name) {
    const std::pair<const wchar_t*, int> buttons[] = {
        {L"ok", IDOK}, {L"yes", IDYES}, {L"no", IDNO}, {L"cancel", IDCANCEL}, {L"none", kNoButton}};
    for (const auto& [known, command] : buttons) {
        if (CompareStringOrdinal(name, -1, known, -1, TRUE) == CSTR_EQUAL) {
            return command;
        }
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int button = argc > 3 ? ButtonNamed(argv[3]) : IDOK;
    if (argc > 4 || button == 0) {
        return 2;
    }
    const wchar_t* caption = argc > 1 ? argv[1] : L"Error";
    const DWORD timeoutMs =
        argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 10000;
    HWND dialog = WaitForDialog(caption, timeoutMs);
    if (dialog == nullptr) {
        return 1;
    }
    std::wstring message;
    EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&message));
    std::printf("%s\n", ToUtf8(message).c_str());
    std::fflush(stdout);
    if (button != kNoButton) {
        // The answer a click on the button gives: MessageBoxW returns its identifier.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
    return 0;
}

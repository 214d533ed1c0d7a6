// probe-apartment.exe <program.exe> [timeout-ms]
//
// Finds the COM apartment windows (class "OleMainThreadWndClass") of every running process of
// that executable name, among the message-only windows and among the top-level windows (Wine
// keeps them message-only; Windows may not), sends each WM_NULL with SendMessageTimeoutW
// (SMTO_BLOCK, default 1000 ms) and writes one line per window: "message-only" or "top-level",
// "answered" or "no answer", and the milliseconds the send took.
// Exit codes: 0 every window answered, 1 one did not, 3 no such window, 2 bad usage.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace {

constexpr wchar_t kApartmentClass[] = L"OleMainThreadWndClass";

struct Found {
    HWND window;
    bool messageOnly;
};

std::wstring ImageNameOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return std::wstring();
    }
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL named = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!named) {
        return std::wstring();
    }
    const std::wstring full(path, size);
    const std::size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

bool BelongsTo(HWND window, const wchar_t* program) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return CompareStringOrdinal(ImageNameOf(processId).c_str(), -1, program, -1, TRUE) ==
           CSTR_EQUAL;
}

void Collect(HWND parent, bool messageOnly, const wchar_t* program, std::vector<Found>& found) {
    HWND window = nullptr;
    while ((window = FindWindowExW(parent, window, kApartmentClass, nullptr)) != nullptr) {
        if (BelongsTo(window, program)) {
            found.push_back({window, messageOnly});
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        return 2;
    }
    const UINT timeoutMs = argc > 2 ? static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)) : 1000;
    std::vector<Found> found;
    Collect(HWND_MESSAGE, true, argv[1], found);
    Collect(nullptr, false, argv[1], found);
    if (found.empty()) {
        std::printf("no apartment window\n");
        return 3;
    }
    bool allAnswered = true;
    for (const Found& each : found) {
        DWORD_PTR answer = 0;
        const DWORD started = GetTickCount();
        const LRESULT answered =
            SendMessageTimeoutW(each.window, WM_NULL, 0, 0, SMTO_BLOCK, timeoutMs, &answer);
        std::printf("%s %s %lu ms\n", each.messageOnly ? "message-only" : "top-level",
                    answered != 0 ? "answered" : "no answer",
                    static_cast<unsigned long>(GetTickCount() - started));
        allAnswered = allAnswered && answered != 0;
    }
    std::fflush(stdout);
    return allAnswered ? 0 : 1;
}

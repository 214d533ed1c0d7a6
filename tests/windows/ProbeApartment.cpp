// probe-apartment.exe <program.exe> [timeout-ms]
//
// Finds every window, message-only and top-level, of every running process of that executable
// name (the plug-in's COM apartment window among them: Wine keeps it message-only; Windows may
// not), sends each WM_NULL with SendMessageTimeoutW (SMTO_BLOCK, default 1000 ms) and writes one
// line per window: its class, "message-only" or "top-level", "answered" or "no answer", and the
// milliseconds the slowest send took. It sends again and again for 3 s, longer than the plug-in's
// refresh period: COM's calls to PowerPoint pump too, now and then.
// Exit codes: 0 every window answered, 1 one did not, 3 no such window, 2 bad usage.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/ProcessWindows.h"

namespace {

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        return 2;
    }
    const std::chrono::milliseconds bound(argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 1000);
    const wchar_t* program = argv[1];
    const std::vector<FoundWindow> found = FindWindowsOf([program](DWORD processId) {
        return CompareStringOrdinal(ImageNameOf(processId).c_str(), -1, program, -1, TRUE) ==
               CSTR_EQUAL;
    });
    if (found.empty()) {
        std::printf("no window\n");
        return 3;
    }
    bool allAnswered = true;
    for (const WindowAnswer& answer : SendNullTo(found, bound, std::chrono::milliseconds(3000))) {
        std::printf("%ls %s %s %lld ms\n", answer.className.c_str(),
                    answer.messageOnly ? "message-only" : "top-level",
                    answer.answered ? "answered" : "no answer",
                    static_cast<long long>(answer.took.count()));
        allAnswered = allAnswered && answer.answered;
    }
    std::fflush(stdout);
    return allAnswered ? 0 : 1;
}

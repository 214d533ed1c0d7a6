#include "platform/ChildProcess.h"

#include <stdexcept>

#include "platform/Platform.h"

namespace {

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    }
    return wide;
}

// One argument as the C runtime's command-line parser reads it back: quoted when it holds
// blanks or quotes, with the backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t unit : argument) {
        if (unit == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(unit == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        quoted.push_back(unit);
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

}  // namespace

struct ChildProcess::Process {
    PROCESS_INFORMATION info{};
    std::optional<int> exitCode;

    ~Process() {
        if (info.hThread != nullptr) {
            CloseHandle(info.hThread);
        }
        if (info.hProcess != nullptr) {
            CloseHandle(info.hProcess);
        }
    }
};

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& arguments)
    : process(std::make_unique<Process>()) {
    const std::wstring program = Wide(executable);
    std::wstring commandLine = Quoted(program);
    for (const std::string& argument : arguments) {
        commandLine += L' ' + Quoted(Wide(argument));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process->info)) {
        throw std::runtime_error("cannot start " + executable + ": error " +
                                 std::to_string(GetLastError()));
    }
}

ChildProcess::~ChildProcess() {
    Terminate();
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (!process->exitCode &&
        WaitForSingleObject(process->info.hProcess, static_cast<DWORD>(timeout.count())) ==
            WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process->info.hProcess, &code);
        process->exitCode = static_cast<int>(code);
    }
    return process->exitCode;
}

void ChildProcess::Terminate() {
    if (process->exitCode || process->info.hProcess == nullptr) {
        return;
    }
    TerminateProcess(process->info.hProcess, 1);
    WaitForExit(std::chrono::milliseconds(5000));
}

#include "platform/ChildProcess.h"

#include <wchar.h>
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

// The name of one "NAME=value" entry; names the system keeps for drive folders start with '='.
std::wstring NameOf(const std::wstring& entry) {
    return entry.substr(0, entry.find(L'=', 1));
}

// This program's environment block without the variables `added` replaces (names are compared
// without regard to case, as the system does), then `added`.
std::wstring MergedEnvironmentBlock(const ChildProcess::Environment& added) {
    std::vector<std::wstring> names;
    for (const auto& variable : added) {
        names.push_back(Wide(variable.first));
    }
    std::wstring block;
    wchar_t* const inherited = GetEnvironmentStringsW();
    for (const wchar_t* entry = inherited; entry != nullptr && *entry != L'\0';
         entry += wcslen(entry) + 1) {
        const std::wstring name = NameOf(entry);
        bool replaced = false;
        for (const std::wstring& addedName : names) {
            replaced = replaced || _wcsicmp(addedName.c_str(), name.c_str()) == 0;
        }
        if (!replaced) {
            block.append(entry).push_back(L'\0');
        }
    }
    if (inherited != nullptr) {
        FreeEnvironmentStringsW(inherited);
    }
    for (const auto& [name, value] : added) {
        block.append(Wide(name + "=" + value)).push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
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

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                           const Environment& environment)
    : process(std::make_unique<Process>()) {
    const std::wstring program = Wide(executable);
    std::wstring commandLine = Quoted(program);
    for (const std::string& argument : arguments) {
        commandLine += L' ' + Quoted(Wide(argument));
    }
    // Without added variables the child inherits this program's environment as it is.
    std::wstring block = environment.empty() ? L"" : MergedEnvironmentBlock(environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, block.empty() ? nullptr : block.data(), nullptr,
                        &startup, &process->info)) {
        throw std::runtime_error("cannot start " + executable + ": error " +
                                 std::to_string(GetLastError()));
    }
}

ChildProcess::~ChildProcess() {
    Terminate();
}

long ChildProcess::Id() const {
    return static_cast<long>(process->info.dwProcessId);
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

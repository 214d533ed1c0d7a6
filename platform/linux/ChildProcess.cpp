// posix_spawn and waitpid stand in for CreateProcessW, WaitForSingleObject and TerminateProcess.
#include "platform/ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

// This program's environment without the variables `added` replaces, then `added`.
std::vector<std::string> MergedEnvironment(const ChildProcess::Environment& added) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        if (added.count(text.substr(0, text.find('='))) == 0) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : added) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

// The null-terminated array of pointers that exec-style calls take.
std::vector<char*> PointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

struct ChildProcess::Process {
    pid_t pid = -1;
    std::optional<int> exitCode;
};

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                           const Environment& environment)
    : process(std::make_unique<Process>()) {
    std::vector<std::string> texts{executable};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables = MergedEnvironment(environment);
    std::vector<char*> argv = PointersTo(texts);
    std::vector<char*> envp = PointersTo(variables);
    const int error =
        posix_spawn(&process->pid, executable.c_str(), nullptr, nullptr, argv.data(), envp.data());
    if (error != 0) {
        throw std::runtime_error("cannot start " + executable + ": " + std::strerror(error));
    }
}

ChildProcess::~ChildProcess() {
    Terminate();
}

long ChildProcess::Id() const {
    return static_cast<long>(process->pid);
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!process->exitCode) {
        int status = 0;
        const pid_t result = waitpid(process->pid, &status, WNOHANG);
        if (result == process->pid) {
            process->exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else if (result == -1 || std::chrono::steady_clock::now() >= deadline) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return process->exitCode;
}

void ChildProcess::Terminate() {
    if (process->exitCode || process->pid <= 0) {
        return;
    }
    kill(process->pid, SIGKILL);
    int status = 0;
    if (waitpid(process->pid, &status, 0) == process->pid) {
        process->exitCode = 128 + SIGKILL;
    }
}

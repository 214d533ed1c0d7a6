// posix_spawn and waitpid stand in for CreateProcessW, WaitForSingleObject and TerminateProcess.
#include "platform/ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

struct ChildProcess::Process {
    pid_t pid = -1;
    std::optional<int> exitCode;
};

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& arguments)
    : process(std::make_unique<Process>()) {
    std::vector<std::string> texts{executable};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const int error =
        posix_spawn(&process->pid, executable.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        throw std::runtime_error("cannot start " + executable + ": " + std::strerror(error));
    }
}

ChildProcess::~ChildProcess() {
    Terminate();
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
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
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

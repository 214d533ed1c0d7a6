#include "bench/PluginProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace {

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('='));
        if (extra.count(name) == 0) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : extra) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

PluginProcess::PluginProcess(const std::string& executable, int port,
                             const std::map<std::string, std::string>& environment) {
    std::vector<std::string> arguments{
        executable,       "-port",      std::to_string(port),
        "-pluginUUID",    "BENCH-UUID", "-registerEvent",
        "registerPlugin", "-info",      R"({"application":{"language":"en"}})"};
    std::vector<std::string> variables = MergedEnvironment(environment);
    std::vector<char*> argv = PointersTo(arguments);
    std::vector<char*> envp = PointersTo(variables);
    if (posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
        throw std::runtime_error("cannot start " + executable);
    }
}

PluginProcess::~PluginProcess() {
    if (reaped) {
        return;
    }
    if (WaitForExit(std::chrono::milliseconds(2000)) == -1 && !reaped) {
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
    }
}

long PluginProcess::ResidentKiB() const {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

double PluginProcess::CpuSeconds() const {
    // The process's CPU clock counts nanoseconds of run time over all its threads, ended ones
    // included; /proc/PID/stat counts 10 ms ticks, too coarse for a process that idles.
    clockid_t clock = 0;
    timespec used{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &used) != 0) {
        return -1;
    }
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

int PluginProcess::WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t result = waitpid(pid, &status, WNOHANG);
        if (result == pid) {
            reaped = true;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (result == -1 || std::chrono::steady_clock::now() >= deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

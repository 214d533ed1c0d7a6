#include "bench/PluginProcess.h"

#include <sys/types.h>
#include <time.h>

#include <filesystem>
#include <fstream>

PluginProcess::PluginProcess(const std::string& executable, const PluginLaunch& launch,
                             const ChildProcess::Environment& environment)
    : child(executable, PluginArguments(launch), environment) {}

PluginProcess::~PluginProcess() {
    // A grace period to end by itself; the child is killed after it.
    WaitForExit(std::chrono::milliseconds(2000));
}

long PluginProcess::ResidentKiB() const {
    std::ifstream status("/proc/" + std::to_string(child.Id()) + "/status");
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
    if (clock_getcpuclockid(static_cast<pid_t>(child.Id()), &clock) != 0 ||
        clock_gettime(clock, &used) != 0) {
        return -1;
    }
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

long PluginProcess::ContextSwitches() const {
    std::error_code error;
    const std::filesystem::path tasks("/proc/" + std::to_string(child.Id()) + "/task");
    long switches = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
                line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
                switches += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    return error ? -1 : switches;
}

int PluginProcess::WaitForExit(std::chrono::milliseconds timeout) {
    return child.WaitForExit(timeout).value_or(-1);
}

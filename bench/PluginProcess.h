// The plug-in executable started as the host application starts it, with the simulated
// PowerPoint chosen through the environment; and what /proc tells about it while it runs.
#pragma once

#include <chrono>
#include <string>

#include "hostpeer/PluginArguments.h"
#include "platform/ChildProcess.h"

class PluginProcess {
public:
    // Starts `executable` with the four flag pairs of `launch`; `environment` is added to this
    // process's own environment.
    PluginProcess(const std::string& executable, const PluginLaunch& launch,
                  const ChildProcess::Environment& environment);
    PluginProcess(const PluginProcess&) = delete;
    PluginProcess& operator=(const PluginProcess&) = delete;
    // Ends the process if it still runs (SIGKILL after a grace period) and reaps it.
    ~PluginProcess();

    // Resident set size in KiB (VmRSS), or -1 when it cannot be read.
    long ResidentKiB() const;
    // CPU time used so far by all its threads, in seconds to the nanosecond, or -1 when it
    // cannot be read.
    double CpuSeconds() const;

    // Context switches so far, voluntary and not, summed over its live threads (each switch is a
    // wake-up or a preemption); -1 when they cannot be read.
    long ContextSwitches() const;

    // The exit code once the process has ended in time, else -1.
    int WaitForExit(std::chrono::milliseconds timeout);

private:
    ChildProcess child;
};

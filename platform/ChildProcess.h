// Another program started by this one (the field check starts the plug-in this way). The
// process is ended and reaped at the latest when its owner is destroyed.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    // Starts `executable` with `arguments` (program name not included), all UTF-8; it shares
    // this program's console and environment. Throws std::runtime_error when it cannot start.
    ChildProcess(const std::string& executable, const std::vector<std::string>& arguments);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // The exit code once the process has ended within the timeout; empty while it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // Ends the process at once if it still runs, and reaps it.
    void Terminate();

private:
    struct Process;
    std::unique_ptr<Process> process;
};

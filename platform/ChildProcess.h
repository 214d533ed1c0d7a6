// Another program started by this one (the field check and the bench start the plug-in this
// way). The process is ended and reaped at the latest when its owner is destroyed.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    // Variables (name to value, UTF-8) that the child gets on top of this program's own
    // environment, replacing any of the same name.
    using Environment = std::map<std::string, std::string>;

    // Starts `executable` with `arguments` (program name not included), all UTF-8; it shares
    // this program's console and environment, with `environment` added. Throws
    // std::runtime_error when it cannot start.
    ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                 const Environment& environment = {});
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // The system's id of the process.
    long Id() const;
    // The exit code once the process has ended within the timeout; empty while it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // Ends the process at once if it still runs, and reaps it.
    void Terminate();

private:
    struct Process;
    std::unique_ptr<Process> process;
};

#include "bench/PluginProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
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
    std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // The command name is in parentheses and may hold spaces; the fields count from after it.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return -1;
    }
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string field;
    unsigned long long user = 0;
    unsigned long long system = 0;
    // utime and stime are fields 14 and 15 of the line; field 3 (state) is the first here.
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14) {
            user = std::stoull(field);
        } else if (number == 15) {
            system = std::stoull(field);
        }
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
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

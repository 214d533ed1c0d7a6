#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

#include "actions/MyGlyphpadPlugin.h"
#include "actions/RefreshInterval.h"
#include "automation/CommandBound.h"
#include "host/CommandLine.h"
#include "host/KGPConnectionManager.h"
#include "host/LanguageFromInfo.h"
#include "platform/Platform.h"
#include "platform/ServerLaunch.h"
#include "support/DiagnosticsFile.h"
#include "support/Localizer.h"

namespace {

using Clock = std::chrono::steady_clock;

// The way out never takes longer than this after the link has ended.
constexpr std::chrono::milliseconds kExitBound = 2 * kCommandBound;
// Diagnostics still queued get this much of it to reach the disk before the process ends.
constexpr std::chrono::milliseconds kFinishDiagnosticsBound{1000};
// While a start of PowerPoint is under way, the way out looks again this often whether it has
// ended.
constexpr std::chrono::milliseconds kStartCheckInterval{50};

// Whether the worker stopped in time: it may finish the PowerPoint call in progress and release
// PowerPoint within one command bound, but one that hangs is not waited for. Where COM starts
// PowerPoint's server from this very process (under Wine), a start under way is waited for beyond
// that, up to the exit bound: ending in the middle of it leaves the new server suspended for ever,
// while a start that hangs must not keep the process alive.
bool AutomationStoppedInTime(const MyGlyphpadPlugin& plugin, std::future<void>& stopped,
                             Clock::time_point linkEnded) {
    // A worker already stuck on a command its submitter gave up on ends it only when PowerPoint
    // answers: the way out, which may itself have waited for that command, does not wait again.
    const Clock::time_point releaseBy =
        plugin.IsAutomationStuck() ? linkEnded : linkEnded + kCommandBound;
    if (stopped.wait_until(releaseBy) == std::future_status::ready) {
        return true;
    }
    if (!LocalServersStartInClientProcess()) {
        return false;
    }
    while (plugin.IsStartingPowerPoint() &&
           Clock::now() < linkEnded + kExitBound - kFinishDiagnosticsBound) {
        if (stopped.wait_for(kStartCheckInterval) == std::future_status::ready) {
            return true;
        }
    }
    return stopped.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
}

// Ends the plug-in's own threads before the process ends, so that none is cut off in the middle
// of its work: the timers, the worker and the diagnostics writer, each joined. A worker stuck in a
// PowerPoint call is the exception (with the thread that waits for it): it must not hold the
// process, and it is left to the process's end, parked in a call that touches nothing of ours.
// True when the timers, the only threads that send to the host, have ended.
bool StopPluginThreads(MyGlyphpadPlugin& plugin) {
    const Clock::time_point linkEnded = Clock::now();
    auto stopped = std::make_shared<std::promise<void>>();
    std::future<void> done = stopped->get_future();
    std::thread stopper;
    try {
        // Stops the worker while the timers stop: what they still submit then fails at once.
        stopper = std::thread([&plugin, stopped] {
            try {
                plugin.StopAutomation();
            } catch (...) {
                // Not stopped; the way out then ends the process under it, as under a stuck one.
            }
            stopped->set_value();
        });
    } catch (const std::system_error&) {
        // No thread to stop the worker from: it is left to the process's end.
    }
    bool timersStopped = true;
    try {
        // Bounded: a refresh or long press waits for the worker at most one command bound (the
        // worker's Stop lets go at once of one that waits past it for an acting call).
        plugin.StopTimers();
    } catch (const std::system_error&) {
        timersStopped = false;  // a timer whose lock failed is left to the process's end too
    }
    if (stopper.joinable()) {
        if (AutomationStoppedInTime(plugin, done, linkEnded)) {
            stopper.join();
        } else {
            stopper.detach();
        }
    }
    FinishDiagnostics(kFinishDiagnosticsBound);
    return timersStopped;
}

}  // namespace

int main(int argc, char* argv[]) {
    const auto arguments = ParseCommandLine(argc, argv);
    if (!arguments) {
        return 1;
    }
    // Never destroyed: a worker stuck in PowerPoint may still use it while the process ends.
    static MyGlyphpadPlugin* const plugin = new MyGlyphpadPlugin(ChooseRefreshIntervalMs(
        std::getenv(kRefreshIntervalVariable), MyGlyphpadPlugin::RefreshIntervalMs));
    CreateLocalizer(LanguageFromInfo(arguments->info));
    auto connectionManager = std::make_unique<KGPConnectionManager>(
        arguments->port, arguments->pluginUUID, arguments->registerEvent, plugin);
    connectionManager->Run();
    if (StopPluginThreads(*plugin)) {
        // The plug-in sends to it only from its event operations and its timers, all ended: the
        // WebSocket library's own threads (its timer thread and its name resolver's) end with it.
        connectionManager.reset();
    }
    // A worker stuck in PowerPoint may still run. Returning would destroy function-local statics
    // (compiled patterns, the simulation) under it, and ExitProcess would stop it wherever it is
    // and then run every DLL's detach code, which can deadlock on a lock it held: end at once.
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

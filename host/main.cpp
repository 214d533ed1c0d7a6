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

// The way out never takes longer than this after the link has ended.
constexpr std::chrono::milliseconds kExitBound = 2 * kCommandBound;
// Diagnostics still queued get this much of it to reach the disk before the process ends.
constexpr std::chrono::milliseconds kFinishDiagnosticsBound{1000};
// While a start of PowerPoint is under way, the way out looks again this often whether it has
// ended.
constexpr std::chrono::milliseconds kStartCheckInterval{50};

// Lets the worker finish the PowerPoint call in progress and release PowerPoint, within one press
// bound, but never waits for one that hangs. Where COM starts PowerPoint's server from this very
// process (under Wine), a start under way is waited for beyond that, up to the exit bound:
// ending in the middle of it leaves the new server suspended for ever, while a start that hangs
// must not keep the process alive.
void StopAutomationWithin(MyGlyphpadPlugin& plugin) {
    const auto linkEnded = std::chrono::steady_clock::now();
    auto stopped = std::make_shared<std::promise<void>>();
    std::future<void> done = stopped->get_future();
    try {
        std::thread([&plugin, stopped] {
            plugin.StopAutomation();
            stopped->set_value();
        }).detach();
    } catch (const std::system_error&) {
        return;  // no thread to stop it from: end without waiting
    }
    if (done.wait_until(linkEnded + kCommandBound) == std::future_status::ready ||
        !LocalServersStartInClientProcess()) {
        return;
    }
    while (plugin.IsStartingPowerPoint() &&
           std::chrono::steady_clock::now() < linkEnded + kExitBound - kFinishDiagnosticsBound &&
           done.wait_for(kStartCheckInterval) != std::future_status::ready) {
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const auto arguments = ParseCommandLine(argc, argv);
    if (!arguments) {
        return 1;
    }
    // Never destroyed: the plug-in's threads may still use these while the process exits.
    static MyGlyphpadPlugin* const plugin = new MyGlyphpadPlugin(ChooseRefreshIntervalMs(
        std::getenv(kRefreshIntervalVariable), MyGlyphpadPlugin::RefreshIntervalMs));
    CreateLocalizer(LanguageFromInfo(arguments->info));
    static KGPConnectionManager* const connectionManager = new KGPConnectionManager(
        arguments->port, arguments->pluginUUID, arguments->registerEvent, plugin);
    connectionManager->Run();
    StopAutomationWithin(*plugin);
    FinishDiagnostics(kFinishDiagnosticsBound);
    // The timer threads, and the worker if PowerPoint hangs, are still running. Returning would
    // destroy function-local statics (compiled patterns, the simulation) under them, and
    // ExitProcess would stop them wherever they are and then run every DLL's detach code,
    // which can deadlock on a lock such a thread held: end at once instead.
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

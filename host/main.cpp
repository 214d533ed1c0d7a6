#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

#include "actions/MyGlyphpadPlugin.h"
#include "actions/RefreshInterval.h"
#include "host/CommandLine.h"
#include "host/KGPConnectionManager.h"
#include "host/LanguageFromInfo.h"
#include "platform/Platform.h"
#include "support/DiagnosticsFile.h"
#include "support/Localizer.h"

namespace {

// As long as a key press may wait for PowerPoint.
constexpr std::chrono::milliseconds kStopAutomationBound{5000};
// Diagnostics still queued get this long to reach the disk before the process ends.
constexpr std::chrono::milliseconds kFinishDiagnosticsBound{1000};

// Lets the worker finish the PowerPoint call in progress and release PowerPoint, but never
// waits for one that hangs. Starting PowerPoint is waited for however long it takes: under
// Wine, COM starts PowerPoint's server from this very process, and a process that ends in the
// middle of that leaves the new server suspended for ever (a start slowed down by a loaded
// machine outlasted the bound). COM bounds the start itself.
void StopAutomationWithin(MyGlyphpadPlugin& plugin, std::chrono::milliseconds bound) {
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
    while (done.wait_for(bound) != std::future_status::ready && plugin.IsStartingPowerPoint()) {
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
    StopAutomationWithin(*plugin, kStopAutomationBound);
    FinishDiagnostics(kFinishDiagnosticsBound);
    // The timer threads, and the worker if PowerPoint hangs, are still running. Returning would
    // destroy function-local statics (compiled patterns, the simulation) under them, and
    // ExitProcess would stop them wherever they are and then run every DLL's detach code,
    // which can deadlock on a lock such a thread held: end at once instead.
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

#include <cstdlib>

#include "actions/MyGlyphpadPlugin.h"
#include "host/CommandLine.h"
#include "host/KGPConnectionManager.h"
#include "host/LanguageFromInfo.h"
#include "support/Localizer.h"

int main(int argc, char* argv[]) {
    const auto arguments = ParseCommandLine(argc, argv);
    if (!arguments) {
        return 1;
    }
    // Never destroyed: the plug-in's threads may still use these while the process exits.
    static KGPBasePlugin* const plugin = new MyGlyphpadPlugin();
    CreateLocalizer(LanguageFromInfo(arguments->info));
    static KGPConnectionManager* const connectionManager = new KGPConnectionManager(
        arguments->port, arguments->pluginUUID, arguments->registerEvent, plugin);
    connectionManager->Run();
    // The plug-in's timer and worker threads are still running: returning would destroy
    // function-local statics (compiled patterns, the simulation) while they use them.
    std::_Exit(0);
}

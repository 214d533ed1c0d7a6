// pptsim-server.exe: the simulated PowerPoint as a COM local server, for the Windows lane.
//
//   pptsim-server.exe /regserver      register for the ProgID "PowerPoint.Application"
//   pptsim-server.exe /unregserver    remove that registration again
//   pptsim-server.exe -Embedding      serve one client (how COM starts it)
//
// Exit codes: 0 success, 1 a registry or COM failure, 2 an unknown command line.
#include <string>
#include <vector>

#include "platform/ComApartment.h"
#include "sim/SimulationControl.h"
#include "sim/SimulationIds.h"
#include "sim/server/ClassFactory.h"
#include "sim/server/ParentWatch.h"
#include "sim/server/ServerLifetime.h"
#include "sim/server/ServerRegistration.h"

namespace {

using namespace pptsim::server;

enum class Mode { Register, Unregister, Serve, Invalid };

// A server started by hand and never connected to gives up after this long.
constexpr DWORD kUnusedServerTimeoutMs = 60000;

bool SwitchIs(const std::wstring& argument, const wchar_t* name) {
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
        return false;
    }
    return CompareStringOrdinal(argument.c_str() + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
}

Mode ModeFromArguments(const std::vector<std::wstring>& arguments) {
    if (arguments.empty()) {
        return Mode::Serve;
    }
    if (arguments.size() == 1) {
        if (SwitchIs(arguments[0], L"regserver")) {
            return Mode::Register;
        }
        if (SwitchIs(arguments[0], L"unregserver")) {
            return Mode::Unregister;
        }
        if (SwitchIs(arguments[0], L"Embedding")) {
            return Mode::Serve;
        }
    }
    return Mode::Invalid;
}

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// PowerPoint quits when its last frame closes; the simulation then stops running, and the
// process follows it, as PowerPoint's own does.
class QuitWatch {
public:
    bool PowerPointHasQuit() {
        const bool running = pptsim::ReadSimulationState().running;
        sawRunning = sawRunning || running;
        return sawRunning && !running;
    }

private:
    bool sawRunning = false;
};

// Whether PowerPoint shows nothing its user could still be working in: no deck open.
bool ShowsNoWindow() {
    return pptsim::ReadSimulationState().open.empty();
}

// Serves COM calls and the frames' window messages until WM_QUIT, PowerPoint's quitting, or an
// unused server's timeout.
void RunMessageLoop(const ServerLifetime& lifetime) {
    QuitWatch quitWatch;
    const DWORD started = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - started;
        const DWORD timeout = lifetime.WasEverHeld()             ? INFINITE
                              : waited >= kUnusedServerTimeoutMs ? 0
                                                                 : kUnusedServerTimeoutMs - waited;
        const DWORD signalled =
            MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (signalled == WAIT_OBJECT_0) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    return;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (quitWatch.PowerPointHasQuit() ||
                (lifetime.WasEverHeld() && !lifetime.IsHeld() && ShowsNoWindow())) {
                return;
            }
        } else if (signalled == WAIT_TIMEOUT) {
            if (!lifetime.WasEverHeld()) {
                return;
            }
        } else {
            return;  // the wait itself failed
        }
    }
}

int Serve() {
    const ComApartment apartment;
    if (!apartment.Entered()) {
        return 1;
    }
    ServerLifetime lifetime(GetCurrentThreadId());
    ClassFactory factory(lifetime);
    DWORD cookie = 0;
    // Single use: every activation starts a fresh server, which reads the scenario its own
    // client was started with.
    if (FAILED(CoRegisterClassObject(pptsim::CLSID_SimulatedPowerPoint, &factory,
                                     CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie))) {
        return 1;
    }
    {
        // Ending the simulation also cuts short a member call that hangs ("delayMs").
        const ParentWatch parentWatch([&lifetime] {
            lifetime.Quit();
            pptsim::ShutDownSimulation();
        });
        RunMessageLoop(lifetime);
    }
    // A PowerPoint that is still running when its last client leaves ends here, on the
    // apartment's thread: its entry in the running object table goes with it, so no client
    // attaches later to a process that is gone.
    pptsim::ShutDownSimulation();
    // Revoked before the apartment ends, so rpcss keeps no stale registration of this process.
    CoRevokeClassObject(cookie);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    switch (ModeFromArguments(arguments)) {
        case Mode::Register: {
            const std::wstring path = ExecutablePath();
            return !path.empty() && RegisterServer(pptsim::CLSID_SimulatedPowerPoint,
                                                   pptsim::kSimulatedProgId, path)
                       ? 0
                       : 1;
        }
        case Mode::Unregister:
            return UnregisterServer(pptsim::CLSID_SimulatedPowerPoint, pptsim::kSimulatedProgId)
                       ? 0
                       : 1;
        case Mode::Serve:
            return Serve();
        case Mode::Invalid:
            break;
    }
    return 2;
}

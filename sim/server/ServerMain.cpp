// pptsim-server.exe: the simulated PowerPoint as a COM local server, for the Windows lane.
//
//   pptsim-server.exe /regserver      register for the ProgID "PowerPoint.Application"
//   pptsim-server.exe /unregserver    remove that registration again
//   pptsim-server.exe -Embedding      serve one client (how COM starts it)
//   pptsim-server.exe /restart MS PID PowerPoint started again by the presenter: after MS
//                                     milliseconds, as the scenario's "restart" has it, serving
//                                     every activation, until its last window closes or the
//                                     process PID (the first server's client) ends
//
// Exit codes: 0 success, 1 a registry or COM failure, 2 an unknown command line.
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "platform/ComApartment.h"
#include "sim/SimulationActivation.h"
#include "sim/SimulationControl.h"
#include "sim/SimulationIds.h"
#include "sim/server/ClassFactory.h"
#include "sim/server/ParentWatch.h"
#include "sim/server/ServerLifetime.h"
#include "sim/server/ServerRegistration.h"

namespace {

using namespace pptsim::server;

enum class Mode { Register, Unregister, Serve, Restart, Invalid };

// A server started by hand and never connected to gives up after this long.
constexpr DWORD kUnusedServerTimeoutMs = 60000;

bool SwitchIs(const std::wstring& argument, const wchar_t* name) {
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
        return false;
    }
    return CompareStringOrdinal(argument.c_str() + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
}

// A whole decimal number; false for anything else.
bool ReadNumber(const std::wstring& text, DWORD& number) {
    wchar_t* end = nullptr;
    const unsigned long long read = std::wcstoull(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != L'\0' || text[0] == L'-' ||
        read > 0xFFFFFFFFull) {
        return false;
    }
    number = static_cast<DWORD>(read);
    return true;
}

Mode ModeFromArguments(const std::vector<std::wstring>& arguments) {
    if (arguments.empty()) {
        return Mode::Serve;
    }
    DWORD number = 0;
    if (arguments.size() == 3 && SwitchIs(arguments[0], L"restart") &&
        ReadNumber(arguments[1], number) && ReadNumber(arguments[2], number)) {
        return Mode::Restart;
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

// Answers messages for that long; false when WM_QUIT came meanwhile.
bool PumpMessagesFor(DWORD milliseconds) {
    const DWORD started = GetTickCount();
    for (DWORD waited = 0; waited < milliseconds; waited = GetTickCount() - started) {
        MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - waited, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

// PowerPoint started again by the presenter after it exited ("restart"): a process of its own
// that COM does not start, and that outlives this one, which ends with its PowerPoint. It ends
// in turn with this server's client, so that no server outlives a test.
void LaunchRestart(int afterMs, DWORD client) {
    const std::wstring path = ExecutablePath();
    std::wstring commandLine =
        L"\"" + path + L"\" /restart " + std::to_wstring(afterMs) + L" " + std::to_wstring(client);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!path.empty() && CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                        0, nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

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
            if (quitWatch.PowerPointHasQuit() || (!lifetime.ByHand() && lifetime.WasEverHeld() &&
                                                  !lifetime.IsHeld() && ShowsNoWindow())) {
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

// Registers the class object, runs start (false: nothing to serve) and serves until the end;
// false when the class object could not be registered or start failed. Activations that come
// while start runs wait for it: the apartment's thread dispatches them only in the loop.
bool RegisterAndServe(ClassFactory& factory, ServerLifetime& lifetime, DWORD use,
                      const std::function<bool()>& start) {
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(pptsim::CLSID_SimulatedPowerPoint, &factory,
                                     CLSCTX_LOCAL_SERVER, use, &cookie))) {
        return false;
    }
    const bool started = start();
    if (started) {
        RunMessageLoop(lifetime);
    }
    // A PowerPoint that is still running when its last client leaves ends here, on the
    // apartment's thread: its entry in the running object table goes with it, so no client
    // attaches later to a process that is gone.
    pptsim::ShutDownSimulation();
    // Revoked before the apartment ends, so rpcss keeps no stale registration of this process.
    CoRevokeClassObject(cookie);
    return started;
}

// Ends the process from inside the apartment, as PowerPoint's own process ends when it quits:
// leaving the apartment is where Wine can hold a server for ever. Wine's CoUninitialize, unlike
// Windows', does not dispatch the calls still on their way to this thread (a client that lets go
// of PowerPoint right after closing its last window); it drops them with the apartment's window
// and then waits for them to complete. Ended here, the process fails those calls instead, as a
// PowerPoint that quit fails them. The class object and the running object table entry are
// revoked already, so nothing is left registered; no DLL's detach code runs either, so no lock
// held by the COM threads that end with the process can hold it.
[[noreturn]] void EndInsideApartment(int exitCode) {
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    ExitProcess(static_cast<UINT>(exitCode));  // only should ending itself have failed
}

// mode: Serve when COM started this server, Restart when the first server did (the presenter
// starting PowerPoint again); client: for Restart, the first server's client. Never returns once
// it has entered its apartment.
int Serve(Mode mode, DWORD restartAfterMs, DWORD client) {
    const ComApartment apartment;
    if (!apartment.Entered()) {
        return 1;
    }
    // The thread's message queue exists from here on, so that a quit posted at once (a client
    // that died while COM was still starting this server) is not lost: Wine makes the queue of
    // an apartment's thread only when its class object is registered.
    MSG none;
    PeekMessageW(&none, nullptr, 0, 0, PM_NOREMOVE);
    ServerLifetime lifetime(GetCurrentThreadId());
    ClassFactory factory(lifetime);
    ParentProcess watched =
        mode == Mode::Restart ? OpenWatchedProcess(client) : OpenParentProcess();
    const DWORD watchedId = watched.id;
    bool served = true;
    {
        // Ending the simulation also cuts short a member call that hangs ("delayMs").
        const ParentWatch parentWatch(std::move(watched), [&lifetime] {
            lifetime.Quit();
            pptsim::ShutDownSimulation();
        });
        if (mode == Mode::Restart) {
            // Never activated, it serves every activation from its start.
            lifetime.StartedByHand();
            // Registered before its frames appear, as PowerPoint registers early in its start,
            // so a client that sees a frame can reach it.
            if (PumpMessagesFor(restartAfterMs)) {
                served = RegisterAndServe(factory, lifetime, REGCLS_MULTIPLEUSE,
                                          [] { return pptsim::RestartApplication(); });
            }
        } else {
            pptsim::SetRestartLauncher(
                [watchedId](int afterMs) { LaunchRestart(afterMs, watchedId); });
            // Single use, so every activation starts a fresh server, which reads the scenario
            // its own client was started with; but a PowerPoint that never enters the running
            // object table ("rot": false) serves every activation, as PowerPoint runs as one
            // instance and activation is then the only way to reach it.
            served = RegisterAndServe(
                factory, lifetime,
                pptsim::RegistersRunningObject() ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE,
                [] { return true; });
        }
    }
    pptsim::ShutDownSimulation();
    EndInsideApartment(served ? 0 : 1);
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
            return Serve(Mode::Serve, 0, 0);
        case Mode::Restart: {
            DWORD afterMs = 0;
            DWORD client = 0;
            ReadNumber(arguments[1], afterMs);
            ReadNumber(arguments[2], client);
            return Serve(Mode::Restart, afterMs, client);
        }
        case Mode::Invalid:
            break;
    }
    return 2;
}

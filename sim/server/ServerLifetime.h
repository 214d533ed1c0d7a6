// When the simulated PowerPoint's process ends. Real PowerPoint leaves when its user closes
// its last window, or when automation releases it while it shows no window (one with a deck on
// screen, or a prompt waiting for its user, stays for the user); the simulation also leaves when
// the process that launched it is gone, so that no orphaned server outlives a test. The message
// loop decides; the release of the last client reference wakes it to do so.
#pragma once

#include <atomic>

#include "platform/Platform.h"

namespace pptsim::server {

class ServerLifetime {
public:
    explicit ServerLifetime(DWORD mainThreadId);
    ServerLifetime(const ServerLifetime&) = delete;
    ServerLifetime& operator=(const ServerLifetime&) = delete;

    // An external client reference (or a class-factory lock) came or went. The release of the
    // last one wakes the message loop to decide whether the server ends.
    void Hold();
    void Release();
    bool IsHeld() const { return holds.load() > 0; }

    // A PowerPoint the presenter started stays when its automation clients leave, with or
    // without a window, and does not give up for want of one; it ends with its last window.
    void StartedByHand();
    bool ByHand() const { return byHand.load(); }

    // Whether a client has ever held the server (or the presenter started it); a server nobody
    // connects to may give up.
    bool WasEverHeld() const;

    void Quit();

private:
    DWORD mainThreadId;
    std::atomic<long> holds{0};
    std::atomic<bool> everHeld{false};
    std::atomic<bool> byHand{false};
};

}  // namespace pptsim::server

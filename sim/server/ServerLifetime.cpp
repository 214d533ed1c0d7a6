#include "sim/server/ServerLifetime.h"

namespace pptsim::server {

ServerLifetime::ServerLifetime(DWORD mainThreadId) : mainThreadId(mainThreadId) {}

void ServerLifetime::Hold() {
    everHeld = true;
    ++holds;
}

void ServerLifetime::Release() {
    if (--holds == 0) {
        PostThreadMessageW(mainThreadId, WM_NULL, 0, 0);
    }
}

void ServerLifetime::StartedByHand() {
    byHand = true;
    everHeld = true;
}

bool ServerLifetime::WasEverHeld() const {
    return everHeld;
}

void ServerLifetime::Quit() {
    PostThreadMessageW(mainThreadId, WM_QUIT, 0, 0);
}

}  // namespace pptsim::server

#include "automation/ServerLoss.h"

namespace {

// Per thread: each apartment thread holds its own references.
thread_local bool serverLost = false;

}  // namespace

bool IsServerGone(HRESULT result) {
    return result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) || result == RPC_E_DISCONNECTED ||
           result == CO_E_OBJNOTCONNECTED;
}

void NoteCallResult(HRESULT result) {
    if (IsServerGone(result)) {
        serverLost = true;
    }
}

bool TakeServerLoss() {
    const bool lost = serverLost;
    serverLost = false;
    return lost;
}

#include "automation/ServerLoss.h"

namespace {

// Per thread: each apartment thread holds its own references.
thread_local ServerLoss noted = ServerLoss::None;

}  // namespace

ServerLoss ServerLossOf(HRESULT result) {
    if (result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
        result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
        result == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF) || result == RPC_E_SERVERFAULT ||
        result == RPC_E_CONNECTION_TERMINATED || result == CO_E_SERVER_STOPPING) {
        return ServerLoss::ServerGone;
    }
    if (result == RPC_E_DISCONNECTED || result == CO_E_OBJNOTCONNECTED) {
        return ServerLoss::ObjectDisconnected;
    }
    return ServerLoss::None;
}

void NoteCallResult(HRESULT result) {
    const ServerLoss loss = ServerLossOf(result);
    if (loss > noted) {
        noted = loss;
    }
}

ServerLoss TakeServerLoss() {
    const ServerLoss taken = noted;
    noted = ServerLoss::None;
    return taken;
}

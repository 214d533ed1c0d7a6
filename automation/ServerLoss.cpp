#include "automation/ServerLoss.h"

namespace {

// Per thread: each apartment thread holds its own references.
thread_local bool lossNoted = false;

}  // namespace

bool MaySayServerGone(HRESULT result) {
    return result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
           result == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF) || result == RPC_E_SERVERFAULT ||
           result == RPC_E_CONNECTION_TERMINATED || result == CO_E_SERVER_STOPPING ||
           result == RPC_E_DISCONNECTED || result == CO_E_OBJNOTCONNECTED;
}

void NoteCallResult(HRESULT result) {
    lossNoted = lossNoted || MaySayServerGone(result);
}

bool TakeServerLoss() {
    const bool taken = lossNoted;
    lossNoted = false;
    return taken;
}

#include "automation/UnansweredCalls.h"

namespace {

// Per thread, as the calls it counts.
thread_local bool unansweredNoted = false;

}  // namespace

void NoteUnansweredCall(HRESULT result) {
    unansweredNoted = unansweredNoted || result == RPC_E_CALL_REJECTED ||
                      result == RPC_E_SERVERCALL_RETRYLATER || result == RPC_E_CALL_CANCELED;
}

bool TakeUnansweredCalls() {
    const bool taken = unansweredNoted;
    unansweredNoted = false;
    return taken;
}

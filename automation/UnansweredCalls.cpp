#include "automation/UnansweredCalls.h"

namespace {

// Per thread, as the calls it counts.
thread_local bool noted = false;

}  // namespace

void NoteUnansweredCall(HRESULT result) {
    noted = noted || result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER ||
            result == RPC_E_CALL_CANCELED;
}

bool TakeUnansweredCalls() {
    const bool taken = noted;
    noted = false;
    return taken;
}

// Whether late-bound calls found their server gone. Two kinds of answer say so, with different
// certainty: the process that served the object has ended or broke off the call
// (RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED, RPC_E_SERVERFAULT, RPC_E_CONNECTION_TERMINATED,
// CO_E_SERVER_STOPPING, and RPC_S_UNKNOWN_IF from a call that raced the server's exit under
// Wine), or one object was disconnected from its server (RPC_E_DISCONNECTED, or
// CO_E_OBJNOTCONNECTED within a process), which PowerPoint also does to a single object while it
// keeps running (a show ended, a deck closed). The one place of every late-bound call notes what
// it saw for its thread; the holder of the application reference takes the note after each piece
// of work and, for a disconnected object, asks the application itself before it lets it go.
#pragma once

#include "platform/Platform.h"

enum class ServerLoss {
    None,
    ObjectDisconnected,  // the server may still be there
    ServerGone,
};

ServerLoss ServerLossOf(HRESULT result);
// Records what the result says for the calling thread, keeping the gravest since the last take.
void NoteCallResult(HRESULT result);
// What calls on the calling thread found since the last take.
ServerLoss TakeServerLoss();

// Whether late-bound calls found that their server may have gone: the process that served the
// object ended or broke off the call (RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED,
// RPC_E_CONNECTION_TERMINATED, CO_E_SERVER_STOPPING, and RPC_S_UNKNOWN_IF from a call that raced
// the server's exit under Wine), the server raised an exception while serving the call
// (RPC_E_SERVERFAULT, which PowerPoint survives), or one object was disconnected from its server
// (RPC_E_DISCONNECTED, or CO_E_OBJNOTCONNECTED within a process), which PowerPoint also does to a
// single object while it keeps running (a show ended, a deck closed). None of them is certain
// alone, so all lead to one question: the holder of the application reference takes the note
// after each piece of work and asks the application itself before it lets it go.
#pragma once

#include "platform/Platform.h"

bool MaySayServerGone(HRESULT result);
// Records for the calling thread whether the result may say so.
void NoteCallResult(HRESULT result);
// Whether a call on the calling thread may have found its server gone since the last take.
bool TakeServerLoss();

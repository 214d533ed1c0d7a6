// Whether a late-bound call found its server gone: the process that served the object has
// ended (RPC_S_SERVER_UNAVAILABLE), or the object was disconnected from its server
// (RPC_E_DISCONNECTED, or CO_E_OBJNOTCONNECTED within a process). The one place of every
// late-bound call notes it for its thread; the holder of the application reference takes the
// note after each piece of work and lets a dead reference go.
#pragma once

#include "platform/Platform.h"

bool IsServerGone(HRESULT result);
// Records a gone server for the calling thread when result says so.
void NoteCallResult(HRESULT result);
// Whether a call on the calling thread found its server gone since the last take.
bool TakeServerLoss();

// Dispatching the calling thread's window messages. A thread in a single-threaded apartment
// must do so whenever it waits: its apartment's hidden window receives broadcasts, and a program
// that sends one waits until the thread answers.
#pragma once

#include "platform/Platform.h"

// Dispatches every message waiting for the calling thread; messages sent to it are answered on
// the way.
void DispatchWaitingMessages();
// Waits up to timeoutMs for input to the thread, then dispatches what is waiting.
void WaitDispatching(DWORD timeoutMs);
// Blocks until the event is set, dispatching the thread's messages whenever they come: the thread
// wakes for those two reasons only.
void WaitForEventDispatching(HANDLE event);

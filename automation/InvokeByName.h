// Calls one member of an automation object by its name: resolves the name with
// GetIDsOfNames on every call (nothing is bound at build time or cached) and calls it with
// Invoke. Every late-bound call of the program goes through here, so that what must happen
// around each call is written once (CallBudget.h): a call a busy server turns away is made again
// until the server takes it or the command's budget runs out (one bound for all the calls of a
// command, dispatching the thread's messages between tries), and at once no more while PowerPoint
// is refusing (PowerPointRefusal.h); no call is made for a job whose submitter gave up; a call
// that may change what PowerPoint shows begins only while its outcome can still reach the
// submitter in time; and a call that may have found its server gone, or went unanswered, is noted
// for the thread (ServerLoss.h, UnansweredCalls.h). Call on the thread that owns the object.
#pragma once

#include <string>

#include "automation/Argument.h"
#include "platform/Platform.h"

// callKind: DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT.
// result: initialised by the caller, or nullptr when no result is wanted.
// object: not owned; nullptr gives E_INVALIDARG without any call, so a missing object
// anywhere in a chain of calls becomes the failure of the next call.
// memberName: a name IDispatch resolves as it stands (PowerPointSurface.h names them).
// arguments: in the order the member declares its parameters; they are handed to Invoke
// last first, as IDispatch reads them.
HRESULT InvokeByName(WORD callKind, VARIANT* result, IDispatch* object, const wchar_t* memberName,
                     const Arguments& arguments = {});

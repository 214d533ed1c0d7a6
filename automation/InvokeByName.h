// Calls one member of an automation object by its name: resolves the name with
// GetIDsOfNames on every call (nothing is bound at build time or cached) and calls it with
// Invoke. Worker thread only.
#pragma once

#include <string>

#include "platform/Platform.h"

// callKind: DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT.
// result: initialised by the caller, or nullptr when no result is wanted.
// object: not owned; nullptr gives E_INVALIDARG without any call, so a missing object
// anywhere in a chain of calls becomes the failure of the next call.
// arguments: argumentCount variants, copied in the given order (element 0 first); Invoke reads
// them last parameter first, so several arguments must be given last-first.
HRESULT InvokeByName(WORD callKind, VARIANT* result, IDispatch* object,
                     const std::wstring& memberName, UINT argumentCount = 0,
                     const VARIANT* arguments = nullptr);

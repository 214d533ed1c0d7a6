// Owning reference to an automation object (IDispatch), the one COM interface late-bound
// calls go through.
#pragma once

#include "platform/ComPtr.h"
#include "platform/Platform.h"

using DispatchPtr = ComPtr<IDispatch>;

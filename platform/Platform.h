// The one vocabulary of Windows calls that the rest of the plug-in uses.
//
// On Windows this is the real SDK (ole32, oleaut32, user32, kernel32). On Linux it declares
// the same names with the same signatures and meanings, implemented by the stand-ins in
// platform/linux. Nothing outside platform/ may test which of the two it is built against.
#pragma once

#ifdef _WIN32
#include "platform/windows/WindowsApi.h"
#else
#include "platform/linux/LinuxApi.h"
#endif

// The real Windows SDK, as mingw-w64 ships it.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <ole2.h>
#include <oleauto.h>
#include <share.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

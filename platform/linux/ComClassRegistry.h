// The Linux stand-in's class registry. The real COM runtime finds a class through the registry
// (ProgID to CLSID to server); here a program or test registers the classes it serves
// in-process, before the first activation, and ole32's stand-ins look them up.
#pragma once

#include <optional>

#include "platform/Platform.h"

struct ComClassRegistration {
    const wchar_t* progId;
    CLSID clsid;
    // Whether the class is registered right now: a simulated machine may lack it.
    bool (*isRegistered)();
    // A new reference to the class's object, or the HRESULT of a server that failed to start.
    HRESULT (*create)(IUnknown** object);
};

// Adds a class, or replaces the one with the same CLSID. Returns true, so that a static
// initialiser can register a class at start-up.
bool RegisterComClass(const ComClassRegistration& registration);

// The registered class for a ProgID (compared as Windows compares registry key names, without
// regard to ASCII case) or for a CLSID; nothing when none is.
std::optional<ComClassRegistration> FindComClass(LPCOLESTR progId);
std::optional<ComClassRegistration> FindComClass(REFCLSID clsid);

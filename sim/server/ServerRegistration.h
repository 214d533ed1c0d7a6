// Registration of a local server for a ProgID (the simulated PowerPoint's for
// "PowerPoint.Application"), machine-wide under HKLM\Software\Classes: Wine's COM activation
// does not consult the per-user hive.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace pptsim::server {

// Writes progId\CLSID = clsid and CLSID\{clsid}\LocalServer32 = "executablePath" (quoted), plus
// the class's ProgID and a readable name. True when every key and value was written.
bool RegisterServer(const CLSID& clsid, const std::wstring& progId,
                    const std::wstring& executablePath);

// Removes the class key of clsid, and the ProgID key only while it still names clsid, so that
// another registration of the ProgID (a real PowerPoint) is never touched. True when nothing of
// ours is left behind.
bool UnregisterServer(const CLSID& clsid, const std::wstring& progId);

// The class identifier in registry form: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
std::wstring ClsidText(const CLSID& clsid);

}  // namespace pptsim::server

// A folder the OneDrive sync engine keeps in step with the cloud (a personal or business
// OneDrive, or a synced SharePoint library): where it sits on disk and the URL it stands for.
#pragma once

#include <string>

struct SyncRoot {
    std::wstring mountPoint;    // C:\Users\ann\OneDrive
    std::wstring urlNamespace;  // https://d.docs.live.net/4f2a9c
};

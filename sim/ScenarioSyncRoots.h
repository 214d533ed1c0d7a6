// The scenario's "syncRoots": the folders a OneDrive sync engine keeps in step with the cloud on
// the simulated machine, each a local folder and the URL PowerPoint names its files by.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace pptsim {

struct ScenarioSyncRoot {
    std::wstring mountPoint;    // C:\Users\ann\OneDrive
    std::wstring urlNamespace;  // https://d.docs.live.net/4f2a9c
};

// The scenario document's "syncRoots" member (none when it is absent). Throws
// std::runtime_error with a one-line reason for a member that is not an array of objects with
// two non-empty texts, a namespace without a URL scheme, or two personal OneDrives
// (d.docs.live.net): the sync engine signs in one personal account.
std::vector<ScenarioSyncRoot> ReadScenarioSyncRoots(const nlohmann::json& document);

// Whether the namespace is a personal OneDrive's (its host is d.docs.live.net).
bool IsPersonalNamespace(const std::wstring& urlNamespace);

}  // namespace pptsim

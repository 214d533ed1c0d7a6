// The plug-in's diagnostics file, attached to the field check's JSON report so that a tester
// sends one file: which file it is (beside the plug-in, or the fallback in the user's state
// folder) and its last lines.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

inline constexpr std::size_t kAttachedDiagnosticLines = 200;

// {"file": path, "found": bool, "lastLines": [...]} for the plug-in at pluginPath (UTF-8). The
// file is the first of the plug-in's candidate paths that exists, else where the plug-in would
// write it first. The last lines reach into the older, rotated file when the file holds fewer.
nlohmann::json DiagnosticsAttachment(const std::string& pluginPath,
                                     std::size_t lines = kAttachedDiagnosticLines);

// Where the plug-in's diagnostics file lives: glyphpad-powerpoint.log beside the executable in
// its plug-in folder, or, when that folder cannot be written (a plug-in installed for every user
// under Program Files), in the Glyphpad folder of the user's state folder (%LOCALAPPDATA% on
// Windows, $XDG_STATE_HOME or ~/.local/state on Linux). Paths are UTF-16, so that a folder whose
// name no Windows code page holds still works.
#pragma once

#include <string>
#include <vector>

inline constexpr wchar_t kDiagnosticsFileName[] = L"glyphpad-powerpoint.log";
inline constexpr wchar_t kDiagnosticsStateSubfolder[] = L"Glyphpad";

// The file's paths in order of preference, for the plug-in whose executable is at
// executablePath: in its plug-in folder (its own folder when it lies in none), then under
// stateFolder when that is not empty.
std::vector<std::wstring> DiagnosticsFileCandidates(const std::wstring& executablePath,
                                                    const std::wstring& stateFolder);
// The same for this program.
std::vector<std::wstring> DiagnosticsFileCandidatesOfThisProgram();

// The older file that rotation keeps beside `file`: "glyphpad-powerpoint.1.log".
std::wstring RotatedDiagnosticsFile(const std::wstring& file);

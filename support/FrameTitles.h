// How PowerPoint titles a presentation's frame window, and whether a title names a given file.
#pragma once

#include <string>

// True when title is "<name><flags> - PowerPoint" or, as before PowerPoint 2013,
// "<name><flags> - Microsoft PowerPoint", where name is the file name with or without its
// extension (Windows hides the extensions of known file types by default, and Office's window
// names follow that setting) and flags are none or more of " [Read-Only]",
// " [Compatibility Mode]", " [Protected View]" and the like. The name compares as Windows
// compares file names (ignoring case). An empty file name matches nothing.
bool IsFrameTitleOf(const std::wstring& title, const std::wstring& fileName);

// A presentation's full name as PowerPoint reports it: a Windows path (backslashes), or a URL
// with forward slashes for a deck kept in OneDrive or SharePoint. How the plug-in names such a
// presentation, turns the settings page's choice into it, and tells two of them apart.
#pragma once

#include <string>
#include <string_view>

#include "support/FileNames.h"

// A scheme of two or more characters followed by "://" (a drive letter is never a scheme).
bool HasUrlScheme(std::wstring_view fullName);
// Forward slashes separate a URL's components, backslashes a Windows path's.
SeparatorStyle SeparatorStyleOf(const std::wstring& fullName);
// The chosen file (forward slashes, as the settings page stores it) as PowerPoint names it:
// every forward slash of a Windows path becomes a backslash; a URL stays as it is.
std::wstring PowerPointPathFromSetting(const std::wstring& chosen);
// As Windows compares file names: code unit by code unit, ignoring case. An empty name (what a
// failed read gives) never matches.
bool IsSamePresentationPath(std::wstring_view first, std::wstring_view second);
// The last component with its extension ("Q3 review.pptx"); empty when there is none.
std::wstring PresentationFileName(const std::wstring& fullName);
// The last component without its extension, as the play key shows it ("Q3 review").
std::wstring PresentationTitle(const std::wstring& fullName);

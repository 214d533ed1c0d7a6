// A deck chosen by its path in a folder that OneDrive keeps in step, found among the open decks
// although PowerPoint names those by their URLs: C:\Users\ann\OneDrive\Talks\Q3 review.pptx is
// open as https://d.docs.live.net/4f2a9c/Talks/Q3 review.pptx.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/SyncRoot.h"

// Whether the chosen file is the open deck that PowerPoint names fullName: the same path as
// IsSamePresentationPath compares them (so the chosen path in PowerPoint's form, as
// PowerPointPathFromSetting gives it), or, for a full name that is a URL, a chosen local path
// that one of the roots maps to that URL, or a chosen URL that is the same one. URLs compare
// component by component, decoded (DecodePercentEscapes) and ignoring case; a local path's names
// may be separated by either slash. A full name that is no URL costs what IsSamePresentationPath
// costs plus a look at its first units: the roots matter only for a URL.
bool IsSamePresentation(std::wstring_view chosenPath, std::wstring_view fullName,
                        const std::vector<SyncRoot>& roots);

// Where no open deck IsSamePresentation as the chosen local path: the position in fullNames of
// the one URL that lies under the URL namespace of a root holding the chosen path and ends with
// every name of the path below that root's mount point (compared as above). This finds a deck in
// a library synced from a subfolder, whose namespace names the library rather than the
// subfolder; a file's name alone never matches. None when the chosen path is a URL or lies under
// no root, when no URL fits, or when two do.
std::optional<std::size_t> ChoosePresentationUnderSyncRoot(
    std::wstring_view chosenPath, const std::vector<std::wstring>& fullNames,
    const std::vector<SyncRoot>& roots);

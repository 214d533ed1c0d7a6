// Which of the open decks is the one a key names. PowerPoint names a deck in a folder OneDrive
// keeps in step by its URL, while the key holds the local path the file picker gave; so a deck
// matches by path as Windows compares them, or through the sync engine's folders, and, where no
// deck matches either way, the one deck below the folder holding the file whose URL ends with the
// file's path below that folder is taken (a library synced from a subfolder).
// The folders are read from the registry only once a deck named by URL is met. Worker thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "support/SyncRoot.h"

class ChosenDeck {
public:
    explicit ChosenDeck(std::wstring path) : path(std::move(path)) {}

    // Whether the deck PowerPoint names fullName is the chosen one; remembers the name for
    // UnderSyncRoot.
    bool Matches(const std::wstring& fullName);
    // Once no deck matched: the position, in the order Matches saw them, of the one deck below
    // the synced folder holding the chosen file that ends with its path below the folder; none
    // when none does or two do.
    std::optional<std::size_t> UnderSyncRoot() const;

private:
    const std::wstring path;
    std::optional<std::vector<SyncRoot>> roots;  // read once a URL is met
    std::vector<std::wstring> seen;
};

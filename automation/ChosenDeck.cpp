#include "automation/ChosenDeck.h"

#include "support/PresentationPaths.h"
#include "support/SyncRootRegistry.h"
#include "support/SyncedPresentationPaths.h"

bool ChosenDeck::Matches(const std::wstring& fullName) {
    if (!roots && HasUrlScheme(fullName)) {
        roots = ReadSyncRoots();
    }
    seen.push_back(fullName);
    static const std::vector<SyncRoot> kNone;
    return IsSamePresentation(path, fullName, roots ? *roots : kNone);
}

std::optional<std::size_t> ChosenDeck::UnderSyncRoot() const {
    if (!roots) {
        return std::nullopt;  // no deck is named by URL: there is nothing to map to
    }
    return ChoosePresentationUnderSyncRoot(path, seen, *roots);
}

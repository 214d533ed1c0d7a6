#include "support/SyncedPresentationPaths.h"

#include <algorithm>
#include <climits>

#include "platform/Platform.h"
#include "support/PercentDecoding.h"
#include "support/PresentationPaths.h"

namespace {

using Components = std::vector<std::wstring>;

// The URL components before a path's first segment: the scheme ("https:") and the host.
constexpr std::size_t kSchemeAndHost = 2;

bool IsSameName(std::wstring_view first, std::wstring_view second) {
    if (first.size() > INT_MAX || second.size() > INT_MAX) {
        return false;
    }
    return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

// The text between separators; empty components (a doubled or trailing separator) are left out.
template <typename IsSeparator>
Components Split(std::wstring_view text, IsSeparator isSeparator) {
    Components components;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at == text.size() || isSeparator(text[at])) {
            if (at > start) {
                components.emplace_back(text.substr(start, at - start));
            }
            start = at + 1;
        }
    }
    return components;
}

// A local path's names, at either slash.
Components PathNames(std::wstring_view path) {
    return Split(path, [](wchar_t unit) { return unit == L'\\' || unit == L'/'; });
}

// A URL's components at its forward slashes, each decoded: the scheme, the host, the segments.
Components UrlComponents(std::wstring_view url) {
    Components components = Split(url, [](wchar_t unit) { return unit == L'/'; });
    for (std::wstring& component : components) {
        component = DecodePercentEscapes(component);
    }
    return components;
}

bool MatchFrom(const Components& whole, std::size_t from, const Components& part) {
    if (whole.size() < from || whole.size() - from < part.size()) {
        return false;
    }
    return std::equal(part.begin(), part.end(), whole.begin() + static_cast<std::ptrdiff_t>(from),
                      IsSameName);
}

bool StartsWith(const Components& whole, const Components& prefix) {
    return MatchFrom(whole, 0, prefix);
}

bool IsSameUrl(const Components& first, const Components& second) {
    return first.size() == second.size() && StartsWith(first, second);
}

// A root as components; empty when it cannot map anything (no folder, or no scheme and host).
struct RootComponents {
    Components mountPoint;
    Components urlNamespace;

    explicit RootComponents(const SyncRoot& root)
        : mountPoint(PathNames(root.mountPoint)), urlNamespace(UrlComponents(root.urlNamespace)) {
        if (mountPoint.empty() || !HasUrlScheme(root.urlNamespace) ||
            urlNamespace.size() < kSchemeAndHost) {
            mountPoint.clear();
            urlNamespace.clear();
        }
    }

    // A file below the mount point (not the folder itself).
    bool Holds(const Components& path) const {
        return !mountPoint.empty() && path.size() > mountPoint.size() &&
               StartsWith(path, mountPoint);
    }
};

// The URL the root gives a path it holds: its namespace followed by the names below its mount
// point.
Components MapThroughRoot(const Components& path, const RootComponents& root) {
    Components url = root.urlNamespace;
    url.insert(url.end(), path.begin() + static_cast<std::ptrdiff_t>(root.mountPoint.size()),
               path.end());
    return url;
}

// A deck under the namespace of a root that holds the chosen path, where what follows the
// namespace does not end with what follows the mount point: another file. (A library synced
// from a subfolder puts the subfolder's names between the two, which is allowed.)
bool IsMappedElsewhere(const Components& path, const Components& deck,
                       const std::vector<SyncRoot>& roots) {
    for (const SyncRoot& syncRoot : roots) {
        const RootComponents root(syncRoot);
        if (!root.Holds(path) || !StartsWith(deck, root.urlNamespace)) {
            continue;
        }
        const Components below(path.begin() + static_cast<std::ptrdiff_t>(root.mountPoint.size()),
                               path.end());
        const std::size_t deckBelow = deck.size() - root.urlNamespace.size();
        if (deckBelow < below.size() || !MatchFrom(deck, deck.size() - below.size(), below)) {
            return true;
        }
    }
    return false;
}

// How many folder names right before the file name the path and the URL share.
std::size_t SameFolderRun(const Components& path, const Components& deck) {
    const std::size_t folders = std::min(path.size() - 1, deck.size() - kSchemeAndHost - 1);
    std::size_t run = 0;
    while (run < folders && IsSameName(path[path.size() - 2 - run], deck[deck.size() - 2 - run])) {
        ++run;
    }
    return run;
}

}  // namespace

bool IsSamePresentation(std::wstring_view chosenPath, std::wstring_view fullName,
                        const std::vector<SyncRoot>& roots) {
    if (IsSamePresentationPath(chosenPath, fullName)) {
        return true;
    }
    if (!HasUrlScheme(fullName)) {
        return false;
    }
    const Components deck = UrlComponents(fullName);
    if (HasUrlScheme(chosenPath)) {
        return IsSameUrl(UrlComponents(chosenPath), deck);
    }
    const Components path = PathNames(chosenPath);
    return std::any_of(roots.begin(), roots.end(), [&](const SyncRoot& syncRoot) {
        const RootComponents root(syncRoot);
        return root.Holds(path) && IsSameUrl(MapThroughRoot(path, root), deck);
    });
}

std::optional<std::size_t> ChoosePresentationByFileName(std::wstring_view chosenPath,
                                                        const std::vector<std::wstring>& fullNames,
                                                        const std::vector<SyncRoot>& roots) {
    const Components path = PathNames(chosenPath);
    if (path.empty() || HasUrlScheme(chosenPath)) {
        return std::nullopt;
    }
    std::optional<std::size_t> best;
    std::size_t bestRun = 0;
    bool tied = false;
    for (std::size_t index = 0; index < fullNames.size(); ++index) {
        if (!HasUrlScheme(fullNames[index])) {
            continue;
        }
        const Components deck = UrlComponents(fullNames[index]);
        if (deck.size() <= kSchemeAndHost || !IsSameName(deck.back(), path.back()) ||
            IsMappedElsewhere(path, deck, roots)) {
            continue;
        }
        const std::size_t run = SameFolderRun(path, deck);
        if (!best || run > bestRun) {
            best = index;
            bestRun = run;
            tied = false;
        } else if (run == bestRun) {
            tied = true;
        }
    }
    return tied ? std::nullopt : best;
}

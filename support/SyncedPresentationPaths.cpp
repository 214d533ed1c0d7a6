#include "support/SyncedPresentationPaths.h"

#include <algorithm>

#include "support/PercentDecoding.h"
#include "support/PresentationPaths.h"

namespace {

using Components = std::vector<std::wstring>;

// The URL components before a path's first segment: the scheme ("https:") and the host.
constexpr std::size_t kSchemeAndHost = 2;

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
    // Components are never empty, so they compare as whole names do.
    return std::equal(part.begin(), part.end(), whole.begin() + static_cast<std::ptrdiff_t>(from),
                      IsSamePresentationPath);
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

// A deck under the namespace of a root that holds the chosen path, whose URL ends with every name
// below the root's mount point: the same file, with what a library synced from a subfolder puts
// between the two (the subfolder's names, which its namespace leaves out).
bool FitsBelowHoldingRoot(const Components& path, const Components& deck,
                          const std::vector<SyncRoot>& roots) {
    return std::any_of(roots.begin(), roots.end(), [&](const SyncRoot& syncRoot) {
        const RootComponents root(syncRoot);
        if (!root.Holds(path) || !StartsWith(deck, root.urlNamespace)) {
            return false;
        }
        const std::size_t below = path.size() - root.mountPoint.size();
        return deck.size() - root.urlNamespace.size() >= below &&
               MatchFrom(deck, deck.size() - below,
                         Components(path.end() - static_cast<std::ptrdiff_t>(below), path.end()));
    });
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

std::optional<std::size_t> ChoosePresentationUnderSyncRoot(
    std::wstring_view chosenPath, const std::vector<std::wstring>& fullNames,
    const std::vector<SyncRoot>& roots) {
    if (HasUrlScheme(chosenPath)) {
        return std::nullopt;
    }
    const Components path = PathNames(chosenPath);
    std::optional<std::size_t> chosen;
    for (std::size_t index = 0; index < fullNames.size(); ++index) {
        if (!HasUrlScheme(fullNames[index]) ||
            !FitsBelowHoldingRoot(path, UrlComponents(fullNames[index]), roots)) {
            continue;
        }
        if (chosen) {
            return std::nullopt;  // two fit: neither is known to be the chosen file
        }
        chosen = index;
    }
    return chosen;
}

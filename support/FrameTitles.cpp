#include "support/FrameTitles.h"

#include "automation/PowerPointSurface.h"
#include "support/PresentationPaths.h"

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The title without its application suffix; false when it has neither.
bool CutApplicationSuffix(const std::wstring& title, std::wstring& rest) {
    for (const std::wstring& suffix : {std::wstring(PowerPointSurface::kFrameTitleSuffix),
                                       std::wstring(PowerPointSurface::kOlderFrameTitleSuffix)}) {
        if (EndsWith(title, suffix)) {
            rest = title.substr(0, title.size() - suffix.size());
            return true;
        }
    }
    return false;
}

// The rest without its last " [flag]"; false when it does not end in one.
bool CutLastFlag(std::wstring& rest) {
    if (rest.empty() || rest.back() != L']') {
        return false;
    }
    const std::size_t open = rest.rfind(L" [");
    if (open == std::wstring::npos) {
        return false;
    }
    rest.erase(open);
    return true;
}

}  // namespace

bool IsFrameTitleOf(const std::wstring& title, const std::wstring& fileName) {
    if (fileName.empty()) {
        return false;
    }
    const std::size_t dot = fileName.find_last_of(L'.');
    const std::wstring stem = dot != std::wstring::npos && dot > 0 ? fileName.substr(0, dot) : L"";
    std::wstring rest;
    if (!CutApplicationSuffix(title, rest)) {
        return false;
    }
    // A name may itself end in brackets ("plan [draft].pptx"), so every cut is tried.
    do {
        if (IsSamePresentationPath(rest, fileName) || IsSamePresentationPath(rest, stem)) {
            return true;
        }
    } while (CutLastFlag(rest));
    return false;
}

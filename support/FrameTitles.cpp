#include "support/FrameTitles.h"

#include <string_view>

#include "support/PowerPointFrames.h"
#include "support/PresentationPaths.h"

// Titles are read through views: every top-level window's title is matched against each open
// presentation, and none of the pieces needs a copy.
namespace {

bool EndsWith(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The title without its application suffix; false when it has neither.
bool CutApplicationSuffix(std::wstring_view title, std::wstring_view& rest) {
    for (const std::wstring_view suffix :
         {PowerPointFrames::kFrameTitleSuffix, PowerPointFrames::kOlderFrameTitleSuffix}) {
        if (EndsWith(title, suffix)) {
            rest = title.substr(0, title.size() - suffix.size());
            return true;
        }
    }
    return false;
}

// The rest without its last " [flag]"; false when it does not end in one.
bool CutLastFlag(std::wstring_view& rest) {
    if (rest.empty() || rest.back() != L']') {
        return false;
    }
    const std::size_t open = rest.rfind(L" [");
    if (open == std::wstring_view::npos) {
        return false;
    }
    rest = rest.substr(0, open);
    return true;
}

}  // namespace

bool IsFrameTitleOf(const std::wstring& title, const std::wstring& fileName) {
    if (fileName.empty()) {
        return false;
    }
    const std::wstring_view name(fileName);
    const std::size_t dot = name.find_last_of(L'.');
    const std::wstring_view stem =
        dot != std::wstring_view::npos && dot > 0 ? name.substr(0, dot) : std::wstring_view();
    std::wstring_view rest;
    if (!CutApplicationSuffix(title, rest)) {
        return false;
    }
    // A name may itself end in brackets ("plan [draft].pptx"), so every cut is tried.
    do {
        if (IsSamePresentationPath(rest, name) || IsSamePresentationPath(rest, stem)) {
            return true;
        }
    } while (CutLastFlag(rest));
    return false;
}

#include "support/SyncedPresentationPaths.h"

#include <gtest/gtest.h>

#include "support/PercentDecoding.h"

namespace {

const SyncRoot kPersonal{L"C:\\Users\\ann\\OneDrive", L"https://d.docs.live.net/4f2a9c"};
// As the sync engine writes a business OneDrive's namespace: with a slash at the end.
const SyncRoot kBusiness{L"C:\\Users\\ann\\OneDrive - Contoso",
                         L"https://contoso-my.sharepoint.com/personal/ann_contoso_com/Documents/"};
const SyncRoot kLibrary{L"C:\\Users\\ann\\Contoso\\Team - Shared Documents",
                        L"https://contoso.sharepoint.com/sites/Team/Shared%20Documents"};
// A library synced from its subfolder "Slides": the namespace names the library's root.
const SyncRoot kSubfolderLibrary{L"C:\\Users\\ann\\Contoso\\Marketing - Slides",
                                 L"https://contoso.sharepoint.com/sites/Marketing/Documents"};
const std::vector<SyncRoot> kRoots{kPersonal, kBusiness, kLibrary, kSubfolderLibrary};

const std::wstring kChosen = L"C:\\Users\\ann\\OneDrive\\Talks\\Q3 review.pptx";
const std::wstring kOpen = L"https://d.docs.live.net/4f2a9c/Talks/Q3 review.pptx";

struct SameCase {
    const char* what;
    std::wstring chosen;
    std::wstring fullName;
    bool same;
};

TEST(SyncedPresentationPaths, ChosenPathMapsThroughTheSyncRootsToTheOpenUrl) {
    const std::vector<SameCase> cases{
        {"personal", kChosen, kOpen, true},
        {"business, namespace ending in a slash",
         L"C:\\Users\\ann\\OneDrive - Contoso\\Talks\\Q3 review.pptx",
         L"https://contoso-my.sharepoint.com/personal/ann_contoso_com/Documents/Talks/Q3 "
         L"review.pptx",
         true},
        {"escaped namespace", L"C:\\Users\\ann\\Contoso\\Team - Shared Documents\\Q3 review.pptx",
         L"https://contoso.sharepoint.com/sites/Team/Shared Documents/Q3 review.pptx", true},
        {"letter case", L"c:\\USERS\\Ann\\onedrive\\talks\\q3 REVIEW.PPTX", kOpen, true},
        {"either slash", L"C:/Users\\ann/OneDrive\\Talks/Q3 review.pptx", kOpen, true},
        {"escaped URL", kChosen, L"https://d.docs.live.net/4f2a9c/Talks/Q3%20review.pptx", true},
        {"escaped beyond ASCII, lower-case hex",
         L"C:\\Users\\ann\\OneDrive\\Pr\u00e4sentationen\\Q3 review.pptx",
         L"https://d.docs.live.net/4f2a9c/Pr%c3%a4sentationen/Q3 review.pptx", true},
        {"a malformed escape is literal", L"C:\\Users\\ann\\OneDrive\\Talks\\Growth 100%.pptx",
         L"https://d.docs.live.net/4f2a9c/Talks/Growth 100%.pptx", true},
        {"a local name is never decoded", L"C:\\Users\\ann\\OneDrive\\Talks\\A%41.pptx",
         L"https://d.docs.live.net/4f2a9c/Talks/A%41.pptx", false},
        {"an escaped percent sign", L"C:\\Users\\ann\\OneDrive\\Talks\\A%41.pptx",
         L"https://d.docs.live.net/4f2a9c/Talks/A%2541.pptx", true},
        {"another file", kChosen, L"https://d.docs.live.net/4f2a9c/Talks/Q4 review.pptx", false},
        {"another folder", L"C:\\Users\\ann\\OneDrive\\Q3 review.pptx", kOpen, false},
        {"another account", kChosen, L"https://d.docs.live.net/77aa00/Talks/Q3 review.pptx", false},
        // Mapped by string prefix, the personal root would give ".../4f2a9c - Contoso/...".
        {"a mount point that begins another folder's name",
         L"C:\\Users\\ann\\OneDrive - Contoso\\Talks\\Q3 review.pptx",
         L"https://d.docs.live.net/4f2a9c - Contoso/Talks/Q3 review.pptx", false},
        {"outside every root", L"D:\\Talks\\Q3 review.pptx", kOpen, false},
        {"the mount point itself", L"C:\\Users\\ann\\OneDrive", L"https://d.docs.live.net/4f2a9c",
         false},
        {"a chosen URL, escaped", L"https://d.docs.live.net/4f2a9c/Talks/Q3%20review.pptx", kOpen,
         true},
        {"plain paths", L"C:\\Talks\\Q3 review.pptx", L"c:\\talks\\q3 review.PPTX", true},
        {"plain paths, another file", L"C:\\Talks\\Q3 review.pptx", L"C:\\Talks\\Q4.pptx", false},
        {"a failed read", kChosen, L"", false},
    };
    for (const SameCase& c : cases) {
        EXPECT_EQ(IsSamePresentation(c.chosen, c.fullName, kRoots), c.same) << c.what;
    }
    EXPECT_FALSE(IsSamePresentation(kChosen, kOpen, {})) << "without roots";
}

struct ChoiceCase {
    const char* what;
    std::wstring chosen;
    std::vector<std::wstring> open;
    std::vector<SyncRoot> roots;
    std::optional<std::size_t> chosenDeck;
};

TEST(SyncedPresentationPaths, FallbackTakesTheOneDeckBelowTheFoldersNamespaceEndingAsThePath) {
    const std::wstring library = L"https://contoso.sharepoint.com/sites/Marketing/Documents/";
    const std::wstring chosen =
        L"C:\\Users\\ann\\Contoso\\Marketing - Slides\\Talks\\Q3 review.pptx";
    const std::vector<ChoiceCase> cases{
        {"a library synced from a subfolder",
         chosen,
         {L"C:\\Talks\\Q3 review.pptx", library + L"Slides/Talks/Q3 review.pptx"},
         kRoots,
         1},
        {"every name below the folder, not the file name alone",
         chosen,
         {library + L"Slides/Q3 review.pptx", library + L"Slides/Talks/Q3 review.pptx"},
         kRoots,
         1},
        {"compared decoded and ignoring case",
         L"C:\\Users\\ann\\Contoso\\Marketing - Slides\\Old talks\\Q3 review.pptx",
         {library + L"Slides/Talks/Q3 review.pptx",
          library + L"Slides/old%20TALKS/q3%20Review.pptx"},
         kRoots,
         1},
        {"two fit",
         chosen,
         {library + L"2023/Talks/Q3 review.pptx", library + L"2024/Talks/Q3 review.pptx"},
         kRoots,
         std::nullopt},
        {"no URL with the name",
         chosen,
         {L"D:\\Q3 review.pptx", library + L"Q3 review.pptx.bak"},
         kRoots,
         std::nullopt},
        {"a chosen URL",
         library + L"Talks/Q3 review.pptx",
         {library + L"Q3 review.pptx"},
         kRoots,
         std::nullopt},
        // The root that holds the chosen path puts the open deck elsewhere: another file, so
        // the chosen one is opened rather than this one brought up.
        {"a deck its root maps elsewhere",
         kChosen,
         {L"https://d.docs.live.net/4f2a9c/Old/Q3 review.pptx"},
         kRoots,
         std::nullopt},
        {"a deck of another site with the same names",
         chosen,
         {L"https://contoso.sharepoint.com/sites/Sales/Shared Documents/Talks/Q3 review.pptx"},
         kRoots,
         std::nullopt},
        // A colleague's deck that merely shares the file's name: the chosen file is opened.
        {"a path in no synced folder",
         L"C:\\Users\\ann\\Downloads\\Q3 review.pptx",
         {L"https://contoso.sharepoint.com/sites/Sales/Shared Documents/Q3 review.pptx"},
         kRoots,
         std::nullopt},
        {"without roots no path is in a synced folder",
         kChosen,
         {L"https://d.docs.live.net/4f2a9c/Talks/Q3 review.pptx"},
         {},
         std::nullopt},
    };
    for (const ChoiceCase& c : cases) {
        EXPECT_EQ(ChoosePresentationUnderSyncRoot(c.chosen, c.open, c.roots), c.chosenDeck)
            << c.what;
    }
    // The fallback is needed there: the subfolder library's root maps the path wrongly.
    EXPECT_FALSE(IsSamePresentation(cases[0].chosen, cases[0].open[1], kRoots));
}

TEST(PercentDecoding, DecodesEscapedUtf8AndLeavesTheRestAsWritten) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases{
        {L"Q3%20review", L"Q3 review"},
        {L"Pr%C3%A4sentation", L"Pr\u00e4sentation"},
        {L"%f0%9f%98%80", std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)}},
        {L"a+b", L"a+b"},
        {L"100%", L"100%"},
        {L"%2", L"%2"},
        {L"%zz%41", L"%zzA"},
        {L"%FF%41", L"%FFA"},          // no UTF-8 sequence starts with FF
        {L"%C3%41%C3", L"%C3A%C3"},    // a sequence cut short
        {L"%ED%A0%80", L"%ED%A0%80"},  // an encoded surrogate
        {L"%2541", L"%41"},            // decoded once
    };
    for (const auto& [escaped, decoded] : cases) {
        EXPECT_EQ(DecodePercentEscapes(escaped), decoded);
    }
}

}  // namespace

#include "support/PresentationPaths.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kCloud = L"https://d.docs.live.net/4f2a9c/Documents/Cloud deck.pptx";

TEST(PresentationPaths, UrlsKeepTheirSlashesAndNameTheirLastComponent) {
    EXPECT_TRUE(HasUrlScheme(kCloud));
    EXPECT_TRUE(HasUrlScheme(L"ms-ppt+x.y://host/a.pptx"));
    for (const wchar_t* path :
         {L"C:\\Talks\\Q3 review.pptx", L"C://Talks/Q3 review.pptx", L"\\\\server\\share\\a.pptx",
          L"://a.pptx", L"1x://a.pptx", L"h t://a.pptx", L""}) {
        EXPECT_FALSE(HasUrlScheme(path)) << path;
    }
    EXPECT_EQ(PowerPointPathFromSetting(kCloud), kCloud);
    EXPECT_EQ(PowerPointPathFromSetting(L"C:/Talks/Q3 review.pptx"), L"C:\\Talks\\Q3 review.pptx");
    EXPECT_EQ(PresentationFileName(kCloud), L"Cloud deck.pptx");
    EXPECT_EQ(PresentationTitle(kCloud), L"Cloud deck");
    EXPECT_EQ(PresentationFileName(L"C:\\Talks\\Q3 review.pptx"), L"Q3 review.pptx");
    EXPECT_EQ(PresentationTitle(L"C:\\Talks\\Q3 review.pptx"), L"Q3 review");
    EXPECT_EQ(PresentationTitle(L"https://host/folder/"), L"");
}

TEST(PresentationPaths, CompareAsWindowsComparesFileNames) {
    EXPECT_TRUE(IsSamePresentationPath(L"c:\\talks\\q3 review.PPTX", L"C:\\Talks\\Q3 review.pptx"));
    // Letters beyond ASCII fold too (U+00E4 and U+00C4).
    EXPECT_TRUE(IsSamePresentationPath(L"C:\\\u00e4.pptx", L"C:\\\u00c4.pptx"));
    EXPECT_FALSE(IsSamePresentationPath(L"C:\\Talks\\Q3 review.pptx", L"C:/Talks/Q3 review.pptx"));
    EXPECT_FALSE(IsSamePresentationPath(L"C:\\a.pptx", L"C:\\a.pptx "));
    EXPECT_FALSE(IsSamePresentationPath(L"", L""));
    EXPECT_TRUE(IsSamePresentationPath(
        kCloud, L"HTTPS://d.docs.live.net/4F2A9C/Documents/cloud deck.pptx"));
}

}  // namespace

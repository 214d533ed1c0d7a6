#include "support/FrameTitles.h"

#include <gtest/gtest.h>

#include "tests/NamedCase.h"

namespace {

struct TitleCase : NamedCase {
    const wchar_t* title;
    const wchar_t* fileName;
    bool names;
};

class FrameTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(FrameTitles, NameTheFileInEveryFormPowerPointUses) {
    EXPECT_EQ(IsFrameTitleOf(GetParam().title, GetParam().fileName), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, FrameTitles,
    ::testing::Values(
        TitleCase{"WithExtension", L"Q3 review.pptx - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{"ExtensionHidden", L"Q3 review - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{"OtherLetterCase", L"q3 REVIEW.pptx - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{"ReadOnly", L"Q3 review.pptx [Read-Only] - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{"TwoFlags", L"Q3 review [Compatibility Mode] [Read-Only] - PowerPoint",
                  L"Q3 review.ppt", true},
        TitleCase{"ProtectedViewBefore2013",
                  L"Q3 review.pptx [Protected View] - Microsoft PowerPoint", L"Q3 review.pptx",
                  true},
        TitleCase{"BracketsInTheName", L"plan [draft] - PowerPoint", L"plan [draft].pptx", true},
        TitleCase{"BracketsInTheNameAndAFlag", L"plan [draft] [Read-Only] - PowerPoint",
                  L"plan [draft].pptx", true},
        TitleCase{"LongerName", L"Q3 reviews.pptx - PowerPoint", L"Q3 review.pptx", false},
        TitleCase{"ViewerSuffix", L"Q3 review.pptx - PowerPoint Viewer", L"Q3 review.pptx", false},
        TitleCase{"NoSuffix", L"Q3 review.pptx", L"Q3 review.pptx", false},
        TitleCase{"UnclosedFlag", L"Q3 review.pptx [Read-Only - PowerPoint", L"Q3 review.pptx",
                  false},
        TitleCase{"OtherExtension", L"Q3 review.ppt - PowerPoint", L"Q3 review.pptx", false},
        TitleCase{"EmptyFileName", L" - PowerPoint", L"", false},
        TitleCase{"NameIsAnExtension", L".pptx - PowerPoint", L".pptx", true},
        TitleCase{"EmptyTitleNameForAnExtension", L" - PowerPoint", L".pptx", false}));

}  // namespace

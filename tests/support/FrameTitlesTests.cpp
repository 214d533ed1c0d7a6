#include "support/FrameTitles.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase {
    const wchar_t* title;
    const wchar_t* fileName;
    bool names;
};

class FrameTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(FrameTitles, NameTheFileInEveryFormPowerPointUses) {
    EXPECT_EQ(IsFrameTitleOf(GetParam().title, GetParam().fileName), GetParam().names)
        << std::wstring(GetParam().title).size();
}

INSTANTIATE_TEST_SUITE_P(
    Titles, FrameTitles,
    ::testing::Values(
        TitleCase{L"Q3 review.pptx - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{L"Q3 review - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{L"q3 REVIEW.pptx - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{L"Q3 review.pptx [Read-Only] - PowerPoint", L"Q3 review.pptx", true},
        TitleCase{L"Q3 review [Compatibility Mode] [Read-Only] - PowerPoint", L"Q3 review.ppt",
                  true},
        TitleCase{L"Q3 review.pptx [Protected View] - Microsoft PowerPoint", L"Q3 review.pptx",
                  true},
        TitleCase{L"plan [draft] - PowerPoint", L"plan [draft].pptx", true},
        TitleCase{L"plan [draft] [Read-Only] - PowerPoint", L"plan [draft].pptx", true},
        TitleCase{L"Q3 reviews.pptx - PowerPoint", L"Q3 review.pptx", false},
        TitleCase{L"Q3 review.pptx - PowerPoint Viewer", L"Q3 review.pptx", false},
        TitleCase{L"Q3 review.pptx", L"Q3 review.pptx", false},
        TitleCase{L"Q3 review.pptx [Read-Only - PowerPoint", L"Q3 review.pptx", false},
        TitleCase{L"Q3 review.ppt - PowerPoint", L"Q3 review.pptx", false},
        TitleCase{L" - PowerPoint", L"", false}, TitleCase{L".pptx - PowerPoint", L".pptx", true},
        TitleCase{L" - PowerPoint", L".pptx", false}));

}  // namespace

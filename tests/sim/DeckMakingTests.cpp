#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "tests/NamedCase.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

constexpr LONG kTitleOnly = 11;
constexpr LONG kBlank = 12;

// Slide.Shapes.Title.TextFrame.TextRange, or none from the first read that fails.
ComPtr<IDispatch> TitleRange(IDispatch* slide) {
    ComPtr<IDispatch> object = ComPtr<IDispatch>::Share(slide);
    for (const wchar_t* member : {L"Shapes", L"Title", L"TextFrame", L"TextRange"}) {
        if (!object) {
            return {};
        }
        object = GetObject(object.Get(), member);
    }
    return object;
}

class DeckMaking : public SimulationTest {
protected:
    void TearDown() override {
        std::remove(deckPath.c_str());
        SimulationTest::TearDown();
    }
    ComPtr<IDispatch> AddHidden() {
        return CallObject(Presentations().Get(), L"Add", {Argument::Integer(0)});
    }
    ComPtr<IDispatch> AddSlide(IDispatch* presentation, LONG index, LONG layout) {
        return CallObject(GetObject(presentation, L"Slides").Get(), L"Add",
                          {Argument::Integer(index), Argument::Integer(layout)});
    }

    const std::string deckPath = "/tmp/pptsim-deck-" + std::to_string(getpid()) + ".pptx";
    const std::wstring deck = std::wstring(deckPath.begin(), deckPath.end());
};

// What a tool that makes its own deck does, and what another PowerPoint then opens.
TEST_F(DeckMaking, SavedDeckReopensWithItsSlidesInANewInstance) {
    Start("{}");
    ComPtr<IDispatch> made = AddHidden();
    EXPECT_EQ(GetText(made.Get(), L"Name"), L"Presentation1");
    EXPECT_EQ(ReadProperty(application.Get(), L"ActivePresentation").Status(), DISP_E_EXCEPTION)
        << "a presentation added without a window does not become active";
    for (LONG index = 1; index <= 3; ++index) {
        ComPtr<IDispatch> slide = AddSlide(made.Get(), index, kTitleOnly);
        ASSERT_EQ(WriteProperty(TitleRange(slide.Get()).Get(), L"Text",
                                Argument::Text(L"Slide " + std::to_wstring(index))),
                  S_OK);
    }
    ASSERT_EQ(
        CallWithoutAnswer(made.Get(), L"SaveAs", {Argument::Text(deck), Argument::Integer(24)}),
        S_OK);
    EXPECT_EQ(GetText(made.Get(), L"FullName"), deck);
    EXPECT_EQ(GetText(made.Get(), L"Name"), deck.substr(deck.rfind(L'/') + 1));
    ASSERT_EQ(CallWithoutAnswer(made.Get(), L"Close"), S_OK);
    EXPECT_EQ(GetInteger(Presentations().Get(), L"Count"), 0);
    EXPECT_TRUE(pptsim::ReadSimulationState().running) << "PowerPoint stays for its client";
    const std::vector<std::string> trace = pptsim::SimulationTrace();
    for (const char* line : {"call Presentations.Add 0", "call Slides.Add 2 11",
                             "put TextRange.Text Slide 2", "call Presentation.Close"}) {
        EXPECT_NE(std::find(trace.begin(), trace.end(), line), trace.end()) << line;
    }

    made.Reset();
    application.Reset();
    Start("{}");
    ComPtr<IDispatch> opened = CallObject(Presentations().Get(), L"Open", {Argument::Text(deck)});
    ASSERT_TRUE(opened);
    EXPECT_EQ(GetInteger(GetObject(opened.Get(), L"Slides").Get(), L"Count"), 3);
    ASSERT_TRUE(CallObject(GetObject(opened.Get(), L"SlideShowSettings").Get(), L"Run", {}));
    EXPECT_EQ(GetText(TitleRange(GetObject(FirstView().Get(), L"Slide").Get()).Get(), L"Text"),
              L"Slide 1");
    EXPECT_EQ(GetText(GetObject(application.Get(), L"ActivePresentation").Get(), L"FullName"),
              deck);
}

struct FailureCase : NamedCase {
    LONG index;
    LONG layout;
    bool titled;  // whether Shapes.Title must then work
    HRESULT added;
};

class SlidesAdd : public DeckMaking, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SlidesAdd, ChecksIndexAndLayout) {
    Start("{}");
    ComPtr<IDispatch> made = AddHidden();
    ASSERT_TRUE(AddSlide(made.Get(), 1, kTitleOnly));
    CallOutcome outcome =
        CallMember(GetObject(made.Get(), L"Slides").Get(), L"Add",
                   {Argument::Integer(GetParam().index), Argument::Integer(GetParam().layout)});
    EXPECT_EQ(outcome.Status(), GetParam().added);
    ComPtr<IDispatch> slide = outcome.TakeObject();
    EXPECT_EQ(static_cast<bool>(TitleRange(slide.Get())), GetParam().titled);
    EXPECT_EQ(GetInteger(GetObject(made.Get(), L"Slides").Get(), L"Count"),
              SUCCEEDED(GetParam().added) ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SlidesAdd,
    ::testing::Values(FailureCase{"AtTheEnd", 2, kTitleOnly, true, S_OK},
                      FailureCase{"InFront", 1, 1, true, S_OK},
                      FailureCase{"BlankHasNoTitle", 2, kBlank, false, S_OK},
                      FailureCase{"IndexZero", 0, kTitleOnly, false, DISP_E_EXCEPTION},
                      FailureCase{"IndexPastCountPlusOne", 3, kTitleOnly, false, DISP_E_EXCEPTION},
                      FailureCase{"UnknownLayout", 2, 99, false, DISP_E_EXCEPTION}),
    CaseName());

// Builds and a custom show, as the field check makes them, survive saving and opening again.
TEST_F(DeckMaking, BuildsAndCustomShowsAreMadeSavedAndOpenedAgain) {
    Start("{}");
    ComPtr<IDispatch> made = AddHidden();
    for (LONG index = 1; index <= 4; ++index) {
        ASSERT_TRUE(AddSlide(made.Get(), index, kTitleOnly));
    }
    ComPtr<IDispatch> slides = GetObject(made.Get(), L"Slides");
    ComPtr<IDispatch> third = CallObject(slides.Get(), L"Item", {Argument::Integer(3)});
    ComPtr<IDispatch> title = GetObject(GetObject(third.Get(), L"Shapes").Get(), L"Title");
    ComPtr<IDispatch> sequence =
        GetObject(GetObject(third.Get(), L"TimeLine").Get(), L"MainSequence");
    for (LONG trigger : {1, 3, 1}) {  // on a click, after the previous, on a click
        EXPECT_TRUE(CallObject(sequence.Get(), L"AddEffect",
                               {Argument::Object(title.Get()), Argument::Integer(10),
                                Argument::Integer(0), Argument::Integer(trigger)}));
    }
    EXPECT_EQ(CallWithoutAnswer(sequence.Get(), L"AddEffect",
                                {Argument::Object(sequence.Get()), Argument::Integer(10)}),
              DISP_E_TYPEMISMATCH)
        << "an effect is added to a shape of the slide";
    EXPECT_EQ(GetInteger(sequence.Get(), L"Count"), 3);

    std::vector<std::int32_t> ids;
    for (LONG index : {4, 2}) {
        ids.push_back(static_cast<std::int32_t>(GetInteger(
            CallObject(slides.Get(), L"Item", {Argument::Integer(index)}).Get(), L"SlideID")));
    }
    EXPECT_EQ(ids, (std::vector<std::int32_t>{259, 257}));
    ComPtr<IDispatch> shows =
        GetObject(GetObject(made.Get(), L"SlideShowSettings").Get(), L"NamedSlideShows");
    EXPECT_TRUE(
        CallObject(shows.Get(), L"Add", {Argument::Text(L"Short"), Argument::IntegerArray(ids)}));
    EXPECT_EQ(CallWithoutAnswer(shows.Get(), L"Add",
                                {Argument::Text(L"short"), Argument::IntegerArray(ids)}),
              DISP_E_EXCEPTION)
        << "names are taken whatever their case";
    EXPECT_EQ(CallWithoutAnswer(shows.Get(), L"Add",
                                {Argument::Text(L"Missing"), Argument::IntegerArray({300})}),
              DISP_E_EXCEPTION);
    for (const char* line :
         {"call Sequence.AddEffect Shape 10 0 3", "call NamedSlideShows.Add Short [259 257]"}) {
        EXPECT_TRUE(TraceHas(line)) << line;
    }
    ASSERT_EQ(CallWithoutAnswer(made.Get(), L"SaveAs", {Argument::Text(deck)}), S_OK);
    title.Reset();
    third.Reset();
    sequence.Reset();
    shows.Reset();
    slides.Reset();
    made.Reset();
    application.Reset();

    Start(R"({})");
    ComPtr<IDispatch> opened = CallObject(Presentations().Get(), L"Open", {Argument::Text(deck)});
    ASSERT_TRUE(opened);
    ComPtr<IDispatch> shortShow = CallObject(
        GetObject(GetObject(opened.Get(), L"SlideShowSettings").Get(), L"NamedSlideShows").Get(),
        L"Item", {Argument::Integer(1)});
    EXPECT_EQ(GetText(shortShow.Get(), L"Name"), L"Short");
    ComPtr<IDispatch> window =
        CallObject(GetObject(opened.Get(), L"SlideShowSettings").Get(), L"Run", {});
    ComPtr<IDispatch> view = GetObject(window.Get(), L"View");
    ASSERT_EQ(CallWithoutAnswer(view.Get(), L"GotoSlide", {Argument::Integer(3)}), S_OK);
    EXPECT_EQ(CallMember(view.Get(), L"GetClickCount").Integer(), 2);
    // A slide added later gets the next ID, never one used before.
    EXPECT_EQ(GetInteger(AddSlide(opened.Get(), 1, kTitleOnly).Get(), L"SlideID"), 260);
}

TEST_F(DeckMaking, SaveAsIntoAMissingFolderFailsAndKeepsTheName) {
    Start("{}");
    ComPtr<IDispatch> made = AddHidden();
    EXPECT_EQ(CallWithoutAnswer(made.Get(), L"SaveAs",
                                {Argument::Text(L"/nonexistent-folder/deck.pptx")}),
              DISP_E_EXCEPTION);
    EXPECT_EQ(GetText(made.Get(), L"FullName"), L"Presentation1");
}

TEST_F(DeckMaking, OpenRefusesAFileThatIsNoDeck) {
    std::ofstream(deckPath) << "PK\x03\x04 not a deck";
    Start("{}");
    EXPECT_FALSE(CallObject(Presentations().Get(), L"Open", {Argument::Text(deck)}));
}

}  // namespace

// Object-model operations called directly (on the test thread) against the simulation.
#include "automation/PowerPointOperations.h"

#include <gtest/gtest.h>

#include <utility>

#include "automation/PowerPointActivation.h"
#include "platform/ComApartment.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

class PowerPointOperations : public SimulationTest {
protected:
    DispatchPtr Connect(const std::string& scenario) {
        UseScenario(scenario);
        PowerPointActivation activation = ActivatePowerPoint();
        EXPECT_EQ(activation.creation, S_OK);
        pptsim::ClearSimulationTrace();
        return std::move(activation.application);
    }

    ComApartment apartment;
};

TEST_F(PowerPointOperations, QuerySlideCount_IsZeroForAPresentationWithoutSlides) {
    DispatchPtr application = Connect(kTalksScenario);
    DispatchPtr presentations = QueryPresentations(application.Get());
    EXPECT_EQ(QuerySlideCount(FindPresentationByPath(presentations.Get(), kEmpty).Get()), 0);
    EXPECT_EQ(QuerySlideCount(FindPresentationByPath(presentations.Get(), kQ3Review).Get()), 12);
    EXPECT_EQ(QuerySlideCount(nullptr), -1);
}

TEST_F(PowerPointOperations, MissingObjects_GiveTheFailureValueWithoutAnyCall) {
    DispatchPtr application = Connect(kTalksScenario);
    EXPECT_EQ(QueryCount(nullptr), -1);
    EXPECT_FALSE(QueryActivePresentation(nullptr));
    EXPECT_EQ(QueryFullName(nullptr), L"");
    EXPECT_FALSE(FindPresentationByPath(nullptr, kIntro));
    EXPECT_FALSE(RunSlideShow(nullptr));
    EXPECT_FALSE(IsPathInSlideShow(nullptr, kIntro));
    EXPECT_FALSE(QuerySlideShowView(nullptr));
    EXPECT_EQ(QueryCurrentSlidePosition(nullptr), -1);
    EXPECT_TRUE(CollectPresentationPaths(nullptr).empty());
    EXPECT_FALSE(OpenOrActivatePresentation(nullptr, kIntro));
    EXPECT_TRUE(Trace().empty());
}

TEST_F(PowerPointOperations, OpenOrActivate_RaisesTheFrameEvenWhenTheFileFailsToOpen) {
    DispatchPtr application = Connect(kTalksScenario);
    // A frame already titled as the file would be: the raise is attempted after the failed Open.
    HWND frame =
        WindowList::Instance().Create(L"PPTFrameClass", L"Missing.pptx - PowerPoint", nullptr);
    WindowList::Instance().ClearRecordedCalls();
    EXPECT_FALSE(OpenOrActivatePresentation(application.Get(), L"C:\\Talks\\Missing.pptx"));
    EXPECT_TRUE(TraceHas("call Presentations.Open C:\\Talks\\Missing.pptx"));
    const std::vector<SetWindowPosCall> moves = WindowList::Instance().SetWindowPosCalls();
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.front().window, frame);
}

}  // namespace

// The simulated PowerPoint when it is busy, when its last frame closes, and when a deck with
// unsaved changes closes.
#include <gtest/gtest.h>

#include "platform/ComApartment.h"
#include "platform/linux/WindowList.h"
#include "sim/SimulationIds.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

const HRESULT kServerUnavailable = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);

// One raw read, as the caller's COM hands it over: no layer of the plug-in's in between, which
// would try a rejected call again.
// An integer answer lands in integer (-1 for any other answer).
HRESULT ReadOnce(IDispatch* object, const std::wstring& name, long& integer) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT resolved = Resolve(object, name, id);
    if (FAILED(resolved)) {
        return resolved;
    }
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const HRESULT read = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                        &none, &result, nullptr, nullptr);
    integer = result.vt == VT_I4 ? result.lVal : -1;
    VariantClear(&result);
    return read;
}

std::string ScenarioWith(const std::string& members) {
    return R"({"files": {"C:\\Talks\\Q3 review.pptx": 12}, "open": ["C:\\Talks\\Q3 review.pptx"], )" +
           members + "}";
}

TEST_F(SimulationTest, RejectedMember_IsTurnedAwayAsBusyForItsFirstCallsOnly) {
    Start(ScenarioWith(R"("reject": {"Count": 2})"));
    ComPtr<IDispatch> presentations = Presentations();
    long count = 0;
    EXPECT_EQ(ReadOnce(presentations.Get(), L"Count", count), RPC_E_CALL_REJECTED);
    EXPECT_EQ(ReadOnce(presentations.Get(), L"Count", count), RPC_E_CALL_REJECTED);
    EXPECT_EQ(ReadOnce(presentations.Get(), L"Count", count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(
        pptsim::SimulationTrace(),
        (std::vector<std::string>{"get Application.Presentations", "reject Presentations.Count",
                                  "reject Presentations.Count", "get Presentations.Count"}));
}

// A dialog: from the member's first call on, PowerPoint turns every call of any member away
// until the time is up, and then takes them all.
TEST_F(SimulationTest,
       RejectedForAWhile_TurnsEveryCallAwayFromTheMembersFirstCallUntilTheTimeIsUp) {
    Start(ScenarioWith(R"("rejectFor": {"Count": 300})"));
    ComPtr<IDispatch> presentations = Presentations();
    long ignored = 0;
    EXPECT_EQ(ReadOnce(application.Get(), L"SlideShowWindows", ignored), S_OK) << "before";
    EXPECT_EQ(ReadOnce(presentations.Get(), L"Count", ignored), RPC_E_CALL_REJECTED);
    EXPECT_EQ(ReadOnce(application.Get(), L"SlideShowWindows", ignored), RPC_E_CALL_REJECTED);
    EXPECT_TRUE(Eventually([this, &ignored] {
        return ReadOnce(application.Get(), L"SlideShowWindows", ignored) == S_OK;
    }));
    long count = 0;
    EXPECT_EQ(ReadOnce(presentations.Get(), L"Count", count), S_OK) << "a spell opens once";
    EXPECT_EQ(count, 1);
    const std::vector<std::string> trace = pptsim::SimulationTrace();
    EXPECT_EQ(std::vector<std::string>(trace.begin(), trace.begin() + 4),
              (std::vector<std::string>{
                  "get Application.Presentations", "get Application.SlideShowWindows",
                  "reject Presentations.Count", "reject Application.SlideShowWindows"}));
}

struct LastFrame {
    const char* setting;
    bool keepsRunning;
};

TEST_F(SimulationTest, LastFrameClosed_QuitsOrHidesAsTheScenarioSays) {
    const ComApartment apartment;
    for (const LastFrame& test :
         {LastFrame{R"("whenLastWindowCloses": "exit")", false}, LastFrame{"\"reject\": {}", false},
          LastFrame{R"("whenLastWindowCloses": "stay")", true}}) {
        SCOPED_TRACE(test.setting);
        Start(ScenarioWith(test.setting));
        ComPtr<IDispatch> presentations = Presentations();
        EXPECT_EQ(AttachToRunning(), S_OK);
        SendMessageW(pptsim::ReadSimulationState().open[0].frame, WM_CLOSE, 0, 0);

        EXPECT_EQ(pptsim::ReadSimulationState().running, test.keepsRunning);
        EXPECT_EQ(TraceHas("exit PowerPoint"), !test.keepsRunning);
        if (test.keepsRunning) {
            EXPECT_EQ(GetInteger(presentations.Get(), L"Count"), 0);
            EXPECT_EQ(AttachToRunning(), S_OK);
            continue;
        }
        EXPECT_EQ(GetInteger(presentations.Get(), L"Count"), kServerUnavailable);
        EXPECT_EQ(AttachToRunning(), MK_E_UNAVAILABLE);
        // Started again, PowerPoint opens nothing of what was open at first.
        ComPtr<IDispatch> restarted;
        ASSERT_EQ(pptsim::ActivateApplication(restarted.Receive()), S_OK);
        EXPECT_TRUE(TraceHas("start PowerPoint"));
        EXPECT_TRUE(pptsim::ReadSimulationState().open.empty());
        EXPECT_EQ(AttachToRunning(), S_OK);
        CallObject(GetObject(restarted.Get(), L"Presentations").Get(), L"Open",
                   {Argument::Text(kQ3Review)});
        EXPECT_EQ(pptsim::ReadSimulationState().open.size(), 1u);
        EXPECT_EQ(GetInteger(presentations.Get(), L"Count"), kServerUnavailable);
    }
}

struct SaveAnswer {
    int button;
    const char* traced;
    bool closes;
};

TEST_F(SimulationTest, UnsavedDeck_AsksOnCloseServesMeanwhileAndFollowsTheAnswer) {
    for (const SaveAnswer& test :
         {SaveAnswer{IDCANCEL, "answer cancel", false}, SaveAnswer{IDNO, "answer don't save", true},
          SaveAnswer{IDYES, "answer save", true}}) {
        SCOPED_TRACE(test.traced);
        Start(ScenarioWith(R"("unsaved": ["C:\\Talks\\Q3 review.pptx"])"));
        ASSERT_EQ(PostMessageW(pptsim::ReadSimulationState().open[0].frame, WM_CLOSE, 0, 0), TRUE);
        HWND prompt = nullptr;
        ASSERT_TRUE(Eventually([&prompt] {
            for (HWND window : WindowList::Instance().ZOrder()) {
                std::wstring name;
                if (WindowList::Instance().ClassName(window, name) && name == L"#32770") {
                    prompt = window;
                }
            }
            return prompt != nullptr;
        }));
        EXPECT_TRUE(TraceHas("prompt save Q3 review.pptx - PowerPoint"));
        EXPECT_EQ(GetInteger(Presentations().Get(), L"Count"), 1);  // still serving

        SendMessageW(prompt, WM_COMMAND, static_cast<WPARAM>(test.button), 0);
        ASSERT_TRUE(Eventually([&test] {
            return TraceHas(test.traced) && pptsim::ReadSimulationState().running != test.closes;
        }));
        EXPECT_EQ(TraceHas("close Q3 review.pptx - PowerPoint"), test.closes);
        EXPECT_EQ(IsWindow(prompt), FALSE);
    }
}

}  // namespace

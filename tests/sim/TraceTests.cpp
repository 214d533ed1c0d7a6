#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "tests/simulation-fixture/SimulationTest.h"

namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

class Trace : public SimulationTest {
protected:
    void TearDown() override {
        unsetenv("PPTSIM_TRACE");
        std::remove(path.c_str());
        SimulationTest::TearDown();
    }
    const std::string path =
        ::testing::TempDir() + "pptsim-trace-" + std::to_string(::getpid()) + ".txt";
};

TEST_F(Trace, EveryCallAndCloseIsOneLineInMemoryAndInTheFile) {
    std::remove(path.c_str());
    setenv("PPTSIM_TRACE", path.c_str(), 1);
    Start(kTalksScenario);
    {
        ComPtr<IDispatch> intro = Presentation(2);
        GetText(intro.Get(), L"FullName");
        CallObject(Presentations().Get(), L"Open", {Argument::Text(kQ3Review)});
        CallWithoutAnswer(
            CallObject(GetObject(intro.Get(), L"Windows").Get(), L"Item", {Argument::Integer(1)})
                .Get(),
            L"Activate");
        ReadProperty(application.Get(), L"NoSuchMember");  // never reaches Invoke
    }
    SendMessageW(pptsim::ReadSimulationState().open[0].frame, WM_CLOSE, 0, 0);

    const std::vector<std::string> expected = {
        "get Application.Presentations",
        "call Presentations.Item 2",
        "get Presentation.FullName",
        "get Application.Presentations",
        "call Presentations.Open C:\\Talks\\Q3 review.pptx",
        "get Presentation.Windows",
        "call DocumentWindows.Item 1",
        "call DocumentWindow.Activate",
        "close Q3 review.pptx - PowerPoint",
    };
    EXPECT_EQ(pptsim::SimulationTrace(), expected);
    EXPECT_EQ(FileLines(path), expected);
}

// Only a move by someone else that takes a frame from below to the top is a raise.
TEST_F(Trace, RaisingAFrameIsOneLineWithItsTitle) {
    Start(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "D:\\Slides\\intro.pptx": 5},
              "open": ["D:\\Slides\\intro.pptx", "C:\\Talks\\Q3 review.pptx"],
              "frameTitles": "withoutExtension"})");
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    HWND intro = state.open[0].frame;
    for (int time = 0; time < 2; ++time) {
        SetWindowPos(intro, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWindowPos(intro, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    SetWindowPos(state.open[1].frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(pptsim::SimulationTrace(), std::vector<std::string>{"raise intro - PowerPoint"});
}

TEST_F(Trace, TextArgumentsAreWrittenAsUtf8) {
    Start("{}");
    const std::wstring name =
        std::wstring(L"C:\\") + wchar_t{0x00C4} + std::wstring{0xD83D, 0xDE00};
    EXPECT_EQ(CallWithoutAnswer(Presentations().Get(), L"Open", {Argument::Text(name)}),
              DISP_E_EXCEPTION);
    EXPECT_EQ(pptsim::SimulationTrace(),
              (std::vector<std::string>{"get Application.Presentations",
                                        "call Presentations.Open C:\\\xC3\x84\xF0\x9F\x98\x80"}));
}

TEST_F(SimulationTest, Delay_IsEndedByAReset) {
    Start(R"({"delayMs": 600000})");
    HRESULT outcome = S_OK;
    std::thread caller([&] {
        VARIANT result;
        VariantInit(&result);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        outcome = application->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                      nullptr);
        VariantClear(&result);
    });
    // The call is traced before it waits; then the reset ends the wait.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (pptsim::SimulationTrace().empty() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(pptsim::SimulationTrace(), std::vector<std::string>{"get Application.Presentations"});
    pptsim::ShutDownSimulation();
    caller.join();
    EXPECT_EQ(outcome, RPC_E_DISCONNECTED);
}

}  // namespace

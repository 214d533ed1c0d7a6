// Fixture for tests against the simulated PowerPoint: a scenario per test, and at the end a
// clean desktop and no automation object left alive (every reference was released).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/WindowList.h"
#include "sim/SimulationControl.h"

// Three presentations open (Intro active), one more that can be opened, one file PowerPoint
// cannot open (not listed).
inline const char* const kTalksScenario = R"({
  "files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5,
            "C:\\Talks\\Empty.pptx": 0, "C:\\Talks\\Closed.pptx": 4},
  "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx", "C:\\Talks\\Empty.pptx"],
  "active": "C:\\Talks\\Intro.pptx"
})";

inline const std::wstring kQ3Review = L"C:\\Talks\\Q3 review.pptx";
inline const std::wstring kIntro = L"C:\\Talks\\Intro.pptx";
inline const std::wstring kEmpty = L"C:\\Talks\\Empty.pptx";
inline const std::wstring kClosed = L"C:\\Talks\\Closed.pptx";

// The talks with a slide show of Q3 review running on the given slide.
inline std::string ShowScenario(int slide) {
    return R"({
  "files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
  "open": ["C:\\Talks\\Q3 review.pptx", "C:\\Talks\\Intro.pptx"],
  "shows": [{"presentation": "C:\\Talks\\Q3 review.pptx", "slide": )" +
           std::to_string(slide) + "}]}";
}

class SimulationTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowList::Instance().Clear();
        pptsim::ShutDownSimulation();
        objectsBefore = pptsim::LiveSimulationObjects();
    }
    void TearDown() override {
        pptsim::ShutDownSimulation();
        WindowList::Instance().Clear();
        EXPECT_EQ(pptsim::LiveSimulationObjects(), objectsBefore)
            << "an automation reference leaked";
    }

    static void UseScenario(const std::string& json) { pptsim::ResetSimulation(json); }
    static std::vector<std::string> Trace() { return pptsim::SimulationTrace(); }
    static bool TraceHas(const std::string& line) {
        const std::vector<std::string> trace = Trace();
        return std::find(trace.begin(), trace.end(), line) != trace.end();
    }
    static bool TraceMentions(const std::string& text) {
        for (const std::string& line : Trace()) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    // Waits (up to a generous limit, as a guard against hanging, not a timing assertion) for
    // the condition; returns whether it came true.
    static bool Eventually(const std::function<bool()>& condition) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > giveUp) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

private:
    long objectsBefore = 0;
};

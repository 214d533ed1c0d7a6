// Fixture for tests against the simulated PowerPoint (in-process, Linux lane): a scenario per
// test, calls made the way the plug-in makes them (its late-bound calls), and at the end a
// clean desktop and no automation object left alive (every reference was released).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "automation/LateBoundCalls.h"
#include "platform/ComPtr.h"
#include "platform/Platform.h"
#include "platform/WindowText.h"
#include "platform/linux/WindowList.h"
#include "sim/SimulationActivation.h"
#include "sim/SimulationControl.h"
#include "sim/SimulationIds.h"
#include "tests/simulation-fixture/Eventually.h"

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

inline HRESULT Resolve(IDispatch* object, const std::wstring& name, DISPID& id) {
    std::wstring copy = name;
    LPOLESTR names[] = {copy.data()};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

inline ComPtr<IDispatch> GetObject(IDispatch* object, const std::wstring& name) {
    return ReadProperty(object, name.c_str()).TakeObject();
}

inline ComPtr<IDispatch> CallObject(IDispatch* object, const std::wstring& name,
                                    const Arguments& arguments) {
    return CallMember(object, name.c_str(), arguments).TakeObject();
}

// An integer property, or the failing HRESULT's value when the read fails.
inline long GetInteger(IDispatch* object, const std::wstring& name) {
    const CallOutcome outcome = ReadProperty(object, name.c_str());
    if (!outcome.Succeeded()) {
        return outcome.Status();
    }
    EXPECT_EQ(outcome.Value().vt, VT_I4) << "reading an integer";
    return outcome.Value().lVal;
}

inline std::wstring GetText(IDispatch* object, const std::wstring& name) {
    return ReadProperty(object, name.c_str()).Text().value_or(L"<failed>");
}

// What GetActiveObject gives for the simulated PowerPoint (the reference is let go at once).
inline HRESULT AttachToRunning() {
    IUnknown* running = nullptr;
    const HRESULT attached = GetActiveObject(pptsim::CLSID_SimulatedPowerPoint, nullptr, &running);
    if (running != nullptr) {
        running->Release();
    }
    return attached;
}

class SimulationTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowList::Instance().Clear();
        pptsim::ShutDownSimulation();
        objectsBefore = pptsim::LiveSimulationObjects();
    }
    void TearDown() override {
        application.Reset();
        pptsim::ShutDownSimulation();
        WindowList::Instance().Clear();
        EXPECT_EQ(pptsim::LiveSimulationObjects(), objectsBefore)
            << "an automation reference leaked";
    }

    // The scenario the next activation of PowerPoint starts from.
    static void UseScenario(const std::string& json) { pptsim::ResetSimulation(json); }
    // The scenario, with PowerPoint activated on the test thread as `application`.
    void Start(const std::string& scenario) {
        UseScenario(scenario);
        ASSERT_EQ(pptsim::ActivateApplication(application.Receive()), S_OK);
    }

    ComPtr<IDispatch> Presentations() { return GetObject(application.Get(), L"Presentations"); }
    ComPtr<IDispatch> Presentation(std::int32_t index) {
        return CallObject(Presentations().Get(), L"Item", {Argument::Integer(index)});
    }
    ComPtr<IDispatch> ShowWindow(std::int32_t index) {
        return CallObject(GetObject(application.Get(), L"SlideShowWindows").Get(), L"Item",
                          {Argument::Integer(index)});
    }
    ComPtr<IDispatch> FirstView() { return GetObject(ShowWindow(1).Get(), L"View"); }

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
    ComPtr<IDispatch> application;

private:
    long objectsBefore = 0;
};

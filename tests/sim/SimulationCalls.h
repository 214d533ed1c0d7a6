// Calls on the simulated PowerPoint made the way the plug-in makes them (through its late-bound
// calls), and a fixture that starts each test from a scenario and checks at the end that every
// automation reference was released.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/LateBoundCalls.h"
#include "platform/ComPtr.h"
#include "platform/Platform.h"
#include "platform/linux/WindowList.h"
#include "sim/SimulationActivation.h"
#include "sim/SimulationControl.h"

namespace simtest {

// Three files of which two are open (Q3 review active, on top).
inline const char* const kTalks = R"({
  "files": {"C:\\Talks\\Q3 review.pptx": 12, "D:\\Slides\\intro.pptx": 5,
            "C:\\Talks\\Empty.pptx": 0},
  "open": ["D:\\Slides\\intro.pptx", "C:\\Talks\\Q3 review.pptx"]
})";
inline const std::wstring kQ3 = L"C:\\Talks\\Q3 review.pptx";
inline const std::wstring kIntro = L"D:\\Slides\\intro.pptx";
inline const std::wstring kEmpty = L"C:\\Talks\\Empty.pptx";

inline HRESULT Resolve(IDispatch* object, const std::wstring& name, DISPID& id) {
    std::wstring copy = name;
    LPOLESTR names[] = {copy.data()};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

inline ComPtr<IDispatch> GetObject(IDispatch* object, const std::wstring& name) {
    return ReadProperty(object, name).TakeObject();
}

inline ComPtr<IDispatch> CallObject(IDispatch* object, const std::wstring& name,
                                    const Arguments& arguments) {
    return CallMember(object, name, arguments).TakeObject();
}

// An integer property, or the failing HRESULT's value when the read fails.
inline long GetInteger(IDispatch* object, const std::wstring& name) {
    const CallOutcome outcome = ReadProperty(object, name);
    if (!outcome.Succeeded()) {
        return outcome.Status();
    }
    EXPECT_EQ(outcome.Value().vt, VT_I4) << "reading an integer";
    return outcome.Value().lVal;
}

inline std::wstring GetText(IDispatch* object, const std::wstring& name) {
    return ReadProperty(object, name).Text().value_or(L"<failed>");
}

inline std::wstring WindowTitle(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

class SimulationTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowList::Instance().Clear();
        pptsim::ShutDownSimulation();
    }
    void TearDown() override {
        application.Reset();
        pptsim::ShutDownSimulation();
        WindowList::Instance().Clear();
        EXPECT_EQ(pptsim::LiveSimulationObjects(), 0) << "an automation reference leaked";
    }

    void Start(const std::string& scenario) {
        pptsim::ResetSimulation(scenario);
        ASSERT_EQ(pptsim::ActivateApplication(application.Receive()), S_OK);
    }
    ComPtr<IDispatch> Presentations() { return GetObject(application.Get(), L"Presentations"); }
    ComPtr<IDispatch> Presentation(LONG index) {
        return CallObject(Presentations().Get(), L"Item", {Argument::Integer(index)});
    }
    ComPtr<IDispatch> ShowWindow(LONG index) {
        return CallObject(GetObject(application.Get(), L"SlideShowWindows").Get(), L"Item",
                          {Argument::Integer(index)});
    }
    ComPtr<IDispatch> FirstView() { return GetObject(ShowWindow(1).Get(), L"View"); }

    ComPtr<IDispatch> application;
};

}  // namespace simtest

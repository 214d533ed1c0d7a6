// Calls on the simulated PowerPoint made the way the plug-in makes them (GetIDsOfNames, then
// Invoke), and a fixture that starts each test from a scenario and checks at the end that every
// automation reference was released.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ComPtr.h"
#include "platform/Platform.h"
#include "platform/UniqueVariant.h"
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

struct Outcome {
    HRESULT result = E_UNEXPECTED;
    UniqueVariant value;
};

inline HRESULT Resolve(IDispatch* object, const std::wstring& name, DISPID& id) {
    std::wstring copy = name;
    LPOLESTR names[] = {copy.data()};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

// One call; arguments are given first first and passed last first, as IDispatch expects.
inline HRESULT Invoke(IDispatch* object, const std::wstring& name, WORD flags,
                      std::vector<VARIANT> arguments, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT resolved = Resolve(object, name, id);
    if (FAILED(resolved)) {
        return resolved;
    }
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};
    return object->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, &params, result, nullptr,
                          nullptr);
}

inline VARIANT Index(LONG index) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = index;
    return argument;
}

// A text argument; the caller frees it with VariantClear (TextArgument does).
class TextArgument {
public:
    explicit TextArgument(const std::wstring& text) {
        value.Get()->vt = VT_BSTR;
        value.Get()->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    VARIANT operator*() const { return *value; }

private:
    UniqueVariant value;
};

inline HRESULT Get(IDispatch* object, const std::wstring& name, Outcome& outcome) {
    outcome.result = Invoke(object, name, DISPATCH_PROPERTYGET, {}, outcome.value.Get());
    return outcome.result;
}

inline HRESULT Call(IDispatch* object, const std::wstring& name,
                    std::vector<VARIANT> arguments = {}) {
    return Invoke(object, name, DISPATCH_METHOD, std::move(arguments), nullptr);
}

// The object a read or call gives, or none (with a failure recorded) when it gives none.
inline ComPtr<IDispatch> TakeObject(Outcome& outcome) {
    if (FAILED(outcome.result) || outcome.value->vt != VT_DISPATCH) {
        return {};
    }
    return ComPtr<IDispatch>::Share(outcome.value->pdispVal);
}

inline ComPtr<IDispatch> GetObject(IDispatch* object, const std::wstring& name) {
    Outcome outcome;
    Get(object, name, outcome);
    return TakeObject(outcome);
}

inline ComPtr<IDispatch> CallObject(IDispatch* object, const std::wstring& name,
                                    std::vector<VARIANT> arguments) {
    Outcome outcome;
    outcome.result =
        Invoke(object, name, DISPATCH_METHOD, std::move(arguments), outcome.value.Get());
    return TakeObject(outcome);
}

// An integer property, or the failing HRESULT's value when the read fails.
inline long GetInteger(IDispatch* object, const std::wstring& name) {
    Outcome outcome;
    if (FAILED(Get(object, name, outcome))) {
        return outcome.result;
    }
    EXPECT_EQ(outcome.value->vt, VT_I4) << "reading an integer";
    return outcome.value->lVal;
}

inline std::wstring GetText(IDispatch* object, const std::wstring& name) {
    Outcome outcome;
    if (FAILED(Get(object, name, outcome)) || outcome.value->vt != VT_BSTR) {
        return L"<failed>";
    }
    return std::wstring(outcome.value->bstrVal, SysStringLen(outcome.value->bstrVal));
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
        return CallObject(Presentations().Get(), L"Item", {Index(index)});
    }
    ComPtr<IDispatch> ShowWindow(LONG index) {
        return CallObject(GetObject(application.Get(), L"SlideShowWindows").Get(), L"Item",
                          {Index(index)});
    }
    ComPtr<IDispatch> FirstView() { return GetObject(ShowWindow(1).Get(), L"View"); }

    ComPtr<IDispatch> application;
};

}  // namespace simtest

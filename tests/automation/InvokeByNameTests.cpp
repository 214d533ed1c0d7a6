// The late-bound call helper, against a recording IDispatch and against the simulation.
#include "automation/InvokeByName.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "automation/ApartmentThread.h"
#include "automation/AutomationDiagnostics.h"
#include "automation/PowerPointOperations.h"
#include "automation/ServerLoss.h"

namespace {

// Records what the helper hands to GetIDsOfNames and Invoke; knows one member, "Known" unless
// told another.
class RecordingDispatch final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        ++lookups;
        lookupInterfaceWasNull = IsEqualGUID(riid, IID_NULL);
        lookupCount = count;
        lookupLocale = locale;
        lookedUpName = names[0];
        if (lookedUpName != knownName && lookedUpName != kActingName) {
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = lookedUpName == knownName ? kKnownId : kActingId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        ++invocations;
        ++invocationsOf[member];
        std::this_thread::sleep_for(takes[member]);
        ++finishedInvocations;
        if (busyAnswers > 0) {
            --busyAnswers;
            return RPC_E_SERVERCALL_RETRYLATER;
        }
        invokedMember = member;
        invokeInterfaceWasNull = IsEqualGUID(riid, IID_NULL);
        invokeLocale = locale;
        invokeFlags = flags;
        arguments.assign(params->rgvarg, params->rgvarg + params->cArgs);
        namedArguments.assign(params->rgdispidNamedArgs,
                              params->rgdispidNamedArgs + params->cNamedArgs);
        resultGiven = result != nullptr;
        exceptionGiven = exception != nullptr;
        argumentErrorGiven = argumentError != nullptr;
        if (result != nullptr) {
            result->vt = VT_I4;
            result->lVal = 42;
        }
        return invokeAnswer;
    }

    int lookups = 0;
    bool lookupInterfaceWasNull = false;
    UINT lookupCount = 0;
    LCID lookupLocale = 0;
    std::wstring lookedUpName;
    int invocations = 0;
    DISPID invokedMember = 0;
    bool invokeInterfaceWasNull = false;
    LCID invokeLocale = 0;
    WORD invokeFlags = 0;
    std::vector<VARIANT> arguments;
    std::vector<DISPID> namedArguments;
    bool resultGiven = false;
    bool exceptionGiven = true;
    bool argumentErrorGiven = true;
    std::wstring knownName = L"Known";
    HRESULT invokeAnswer = S_OK;
    int busyAnswers = 0;  // the first calls are turned away as a busy server does
    // A second member, a method that moves the show, and how long each member's calls take.
    static constexpr const wchar_t* kActingName = L"Next";
    static constexpr DISPID kKnownId = 7;
    static constexpr DISPID kActingId = 8;
    std::map<DISPID, int> invocationsOf;
    std::map<DISPID, std::chrono::milliseconds> takes;
    std::atomic<int> finishedInvocations{0};
};

// A result slot holding an integer, to see whether a call wrote to it.
VARIANT IntegerResult(std::int32_t value) {
    return Argument::Integer(value).Value();  // an integer owns nothing, so a copy is safe
}

TEST(InvokeByName, NoObject_IsInvalidArgumentAndLeavesTheResultAlone) {
    VARIANT result = IntegerResult(-5);
    EXPECT_EQ(InvokeByName(DISPATCH_PROPERTYGET, &result, nullptr, L"Known"), E_INVALIDARG);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, -5);
}

TEST(InvokeByName, UnknownName_ReturnsTheLookupFailureWithoutInvoking) {
    RecordingDispatch object;
    VARIANT result = IntegerResult(-5);
    EXPECT_EQ(InvokeByName(DISPATCH_PROPERTYGET, &result, &object, L"Unknown"), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(object.invocations, 0);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, -5);
}

TEST(InvokeByName, Lookup_ResolvesOneNameOnEveryCall) {
    RecordingDispatch object;
    VARIANT result;
    VariantInit(&result);
    for (int call = 0; call < 2; ++call) {
        EXPECT_EQ(InvokeByName(DISPATCH_PROPERTYGET, &result, &object, L"Known"), S_OK);
    }
    EXPECT_EQ(object.lookups, 2) << "no dispatch identifier is cached";
    EXPECT_TRUE(object.lookupInterfaceWasNull);
    EXPECT_EQ(object.lookupCount, 1u);
    EXPECT_EQ(object.lookupLocale, LOCALE_USER_DEFAULT);
    EXPECT_EQ(object.lookedUpName, L"Known");
    EXPECT_EQ(result.lVal, 42);
}

TEST(InvokeByName, Invoke_PassesKindArgumentsLastFirstAndLocale) {
    struct Case {
        WORD kind;
        std::vector<LONG> arguments;
        bool wantResult;
        std::vector<DISPID> namedArguments;
    };
    const Case cases[] = {
        {DISPATCH_METHOD, {}, false, {}},
        {DISPATCH_METHOD, {3}, true, {}},
        {DISPATCH_PROPERTYGET, {}, true, {}},
        {DISPATCH_METHOD, {1, 2, 3}, true, {}},
        {DISPATCH_PROPERTYPUT, {9}, false, {DISPID_PROPERTYPUT}},
        {DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, true, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE("kind " + std::to_string(test.kind) + ", " +
                     std::to_string(test.arguments.size()) + " arguments");
        RecordingDispatch object;
        Arguments arguments;
        for (LONG value : test.arguments) {
            arguments.push_back(Argument::Integer(value));
        }
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(InvokeByName(test.kind, test.wantResult ? &result : nullptr, &object, L"Known",
                               arguments),
                  S_OK);
        EXPECT_EQ(object.invokedMember, 7);
        EXPECT_TRUE(object.invokeInterfaceWasNull);
        EXPECT_EQ(object.invokeLocale, LOCALE_SYSTEM_DEFAULT);
        EXPECT_EQ(object.invokeFlags, test.kind);
        // Invoke reads the parameters last first.
        ASSERT_EQ(object.arguments.size(), test.arguments.size());
        for (std::size_t i = 0; i < test.arguments.size(); ++i) {
            EXPECT_EQ(object.arguments[i].lVal, test.arguments[test.arguments.size() - 1 - i])
                << "element " << i;
        }
        EXPECT_EQ(object.namedArguments, test.namedArguments);
        EXPECT_EQ(object.resultGiven, test.wantResult);
        EXPECT_FALSE(object.exceptionGiven);
        EXPECT_FALSE(object.argumentErrorGiven);
    }
}

// The name is converted for the text only when the text is written; the text must not change.
TEST(InvokeByName, Failures_WriteTheirTextOnlyWithDiagnosticsOn) {
    struct Case {
        const wchar_t* member;
        const char* setting;
        const char* text;
    };
    const Case cases[] = {
        {L"Unknown", "GLYPHPAD_DEBUG=1",
         "IDispatch::GetIDsOfNames(\"Unknown\") failed w/err 0x80020006\n"},
        {L"Known", "GLYPHPAD_DEBUG=1",
         "IDispatch::Invoke(\"Known\"=00000007) failed w/err 0x80004005\n"},
        {L"Unknown", "GLYPHPAD_DEBUG=0", ""},
        {L"Known", "GLYPHPAD_DEBUG=0", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.setting);
        putenv(const_cast<char*>(test.setting));
        RecordingDispatch object;
        object.invokeAnswer = E_FAIL;
        testing::internal::CaptureStderr();
        EXPECT_LT(InvokeByName(DISPATCH_METHOD, nullptr, &object, test.member), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), test.text);
    }
}

TEST(InvokeByName, BusyServer_IsAskedAgainUntilItTakesTheCall) {
    RecordingDispatch object;
    object.busyAnswers = 2;
    VARIANT result = IntegerResult(0);
    EXPECT_EQ(InvokeByName(DISPATCH_PROPERTYGET, &result, &object, L"Known"), S_OK);
    EXPECT_EQ(object.invocations, 3);
    EXPECT_EQ(result.lVal, 42);
}

// A call that may change what PowerPoint shows begins only while its outcome can still reach the
// submitter in time, and one that began is waited for past the deadline: what the submitter hears
// is what the call did.
TEST(InvokeByName, ActingCall_BeginsOnlyInTimeAndIsWaitedFor) {
    using std::chrono::milliseconds;
    constexpr milliseconds kBound(1000);
    const struct {
        const char* name;
        milliseconds readTakes;
        milliseconds actingTakes;
        int actingCalls;
        bool succeeds;
    } cases[] = {
        {"a read waits out the time to act", milliseconds(950), milliseconds(200), 0, false},
        {"a slow acting call begun in time", milliseconds(200), milliseconds(1000), 1, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        RecordingDispatch powerPoint;
        powerPoint.takes[RecordingDispatch::kKnownId] = test.readTakes;
        powerPoint.takes[RecordingDispatch::kActingId] = test.actingTakes;
        ApartmentThread thread;
        thread.Start([](bool) {}, [] {});
        const std::optional<HRESULT> outcome = thread.Run<HRESULT>(
            [&powerPoint] {
                VARIANT result = IntegerResult(0);
                InvokeByName(DISPATCH_PROPERTYGET, &result, &powerPoint, L"Known");
                return InvokeByName(DISPATCH_METHOD, nullptr, &powerPoint, L"Next");
            },
            kBound);
        thread.Stop();
        EXPECT_EQ(powerPoint.invocationsOf[RecordingDispatch::kActingId], test.actingCalls);
        EXPECT_EQ(outcome && SUCCEEDED(*outcome), test.succeeds);
    }
}

// At the way out nobody waits for a key any more: stopping the thread lets go at once of a
// submitter that waits past its bound for an acting call.
TEST(InvokeByName, ActingCallPastTheBound_IsNotWaitedForOnceTheThreadStops) {
    // The call would answer within the second bound (at 1.8 s of 2 s), but the thread stops at
    // 1.4 s, past the first.
    RecordingDispatch powerPoint;
    powerPoint.takes[RecordingDispatch::kActingId] = std::chrono::milliseconds(1800);
    ApartmentThread thread;
    thread.Start([](bool) {}, [] {});
    auto stopper = std::async(std::launch::async, [&thread] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1400));
        thread.Stop();
    });
    const std::optional<HRESULT> outcome = thread.Run<HRESULT>(
        [&powerPoint] { return InvokeByName(DISPATCH_METHOD, nullptr, &powerPoint, L"Next"); },
        std::chrono::milliseconds(1000));
    const int finishedWhenLetGo = powerPoint.finishedInvocations;
    stopper.get();
    EXPECT_FALSE(outcome.has_value());
    EXPECT_EQ(finishedWhenLetGo, 0) << "waited for the acting call after all";
    EXPECT_EQ(powerPoint.invocationsOf[RecordingDispatch::kActingId], 1);
}

TEST(InvokeByName, CodesThatMaySayTheServerWent_AreNotedForTheThreadUntilTaken) {
    TakeServerLoss();
    RecordingDispatch object;
    const struct {
        HRESULT answer;
        bool noted;
    } cases[] = {
        {E_FAIL, false},
        {RPC_E_CALL_REJECTED, false},
        {HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), true},
        {HRESULT_FROM_WIN32(RPC_S_CALL_FAILED), true},
        {HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF), true},
        {RPC_E_SERVERFAULT, true},
        {RPC_E_CONNECTION_TERMINATED, true},
        {CO_E_SERVER_STOPPING, true},
        {RPC_E_DISCONNECTED, true},
        {CO_E_OBJNOTCONNECTED, true},
    };
    for (const auto& test : cases) {
        object.invokeAnswer = test.answer;
        object.busyAnswers = 0;
        EXPECT_EQ(InvokeByName(DISPATCH_PROPERTYGET, nullptr, &object, L"Known"), test.answer);
        EXPECT_EQ(TakeServerLoss(), test.noted) << std::hex << test.answer;
        EXPECT_FALSE(TakeServerLoss()) << "taken";
    }
}

// One rule for every code that may say so: the application is asked, and only its answer counts.
TEST(HasPowerPointGone, AsksTheApplicationWheneverTheServerMayHaveGone) {
    const struct {
        bool mayHaveGone;
        HRESULT applicationAnswers;
        bool gone;
    } cases[] = {
        {false, S_OK, false},
        {true, S_OK, false},
        {true, E_FAIL, false},
        {true, RPC_E_SERVERFAULT, true},
        {true, RPC_E_DISCONNECTED, true},
        {true, HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), true},
    };
    for (const auto& test : cases) {
        RecordingDispatch application;
        application.knownName = L"Version";
        application.invokeAnswer = test.applicationAnswers;
        EXPECT_EQ(HasPowerPointGone(&application, test.mayHaveGone), test.gone)
            << test.mayHaveGone << " " << std::hex << test.applicationAnswers;
        EXPECT_EQ(application.invocations, test.mayHaveGone ? 1 : 0);
        EXPECT_FALSE(TakeServerLoss()) << "the question leaves no note behind";
    }
}

TEST(AutomationDiagnostics, Texts_AreComposedAndBounded) {
    EXPECT_EQ(ComposeNameLookupFailure("Count", DISP_E_UNKNOWNNAME),
              "IDispatch::GetIDsOfNames(\"Count\") failed w/err 0x80020006");
    EXPECT_EQ(ComposeInvokeFailure("Item", DISPID_PROPERTYPUT, E_INVALIDARG),
              "IDispatch::Invoke(\"Item\"=fffffffd) failed w/err 0x80070057");
    EXPECT_EQ(ComposeApplicationCreationFailure(CO_E_SERVER_EXEC_FAILURE),
              "Power Point not registered properly. Error: 0x80080005");
    const std::string longName(400, 'x');
    EXPECT_EQ(ComposeNameLookupFailure(longName.c_str(), E_FAIL).size(), 255u);
    EXPECT_EQ(ComposeInvokeFailure(longName.c_str(), 1, E_FAIL).size(), 255u);
}

}  // namespace

#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>
#include <thread>

#include "platform/ComApartment.h"
#include "platform/ComPtr.h"
#include "platform/Platform.h"
#include "platform/linux/WindowList.h"
#include "sim/SimulationControl.h"
#include "sim/SimulationIds.h"

namespace {

class Ole32 : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("PPTSIM_SCENARIO");
        pptsim::ShutDownSimulation();
    }
    void TearDown() override {
        pptsim::ShutDownSimulation();
        WindowList::Instance().Clear();
        EXPECT_EQ(pptsim::LiveSimulationObjects(), 0);
    }

    static HRESULT Create(ComPtr<IDispatch>& application) {
        return CoCreateInstance(pptsim::CLSID_SimulatedPowerPoint, nullptr, CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(application.Receive()));
    }
};

TEST_F(Ole32, CoCreateInstance_NeedsTheCallingThreadsApartment) {
    HRESULT withoutApartment = S_OK;
    HRESULT afterLeaving = S_OK;
    HRESULT first = S_OK;
    HRESULT nested = S_OK;
    std::thread([&] {
        ComPtr<IDispatch> application;
        withoutApartment = Create(application);
        first = CoInitialize(nullptr);
        nested = CoInitialize(nullptr);
        CoUninitialize();
        CoUninitialize();
        afterLeaving = Create(application);
    }).join();
    EXPECT_EQ(withoutApartment, CO_E_NOTINITIALIZED);
    EXPECT_EQ(first, S_OK);
    EXPECT_EQ(nested, S_FALSE);
    EXPECT_EQ(afterLeaving, CO_E_NOTINITIALIZED);
}

struct ProgIdCase {
    const char* name;
    const wchar_t* progId;
    const char* scenario;
    HRESULT expected;
};
void PrintTo(const ProgIdCase& c, std::ostream* out) {
    *out << c.name;
}

class ProgIdLookup : public Ole32, public ::testing::WithParamInterface<ProgIdCase> {};

TEST_P(ProgIdLookup, KnowsOnlyARegisteredPowerPoint) {
    pptsim::ResetSimulation(GetParam().scenario);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(GetParam().progId, &clsid), GetParam().expected);
    if (SUCCEEDED(GetParam().expected)) {
        EXPECT_EQ(clsid, pptsim::CLSID_SimulatedPowerPoint);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProgIdLookup,
    ::testing::Values(ProgIdCase{"Registered", L"PowerPoint.Application", "{}", S_OK},
                      ProgIdCase{"AnyLetterCase", L"powerpoint.APPLICATION", "{}", S_OK},
                      ProgIdCase{"OtherProgId", L"Word.Application", "{}", CO_E_CLASSSTRING},
                      ProgIdCase{"Prefix", L"PowerPoint.App", "{}", CO_E_CLASSSTRING},
                      ProgIdCase{"NotRegistered", L"PowerPoint.Application",
                                 R"({"registered": false})", CO_E_CLASSSTRING},
                      ProgIdCase{"UnavailableIsStillRegistered", L"PowerPoint.Application",
                                 R"({"available": false})", S_OK}));

TEST_F(Ole32, CoCreateInstance_UnavailablePowerPointFailsToStart) {
    pptsim::ResetSimulation(R"({"available": false})");
    ComApartment apartment;
    ComPtr<IDispatch> application;
    EXPECT_EQ(Create(application), CO_E_SERVER_EXEC_FAILURE);
    EXPECT_FALSE(application);
}

TEST_F(Ole32, CoCreateInstance_UnknownClassOrInProcessContextIsNotRegistered) {
    ComApartment apartment;
    ComPtr<IDispatch> unregistered;
    pptsim::ResetSimulation(R"({"registered": false})");
    EXPECT_EQ(Create(unregistered), REGDB_E_CLASSNOTREG);
    pptsim::ShutDownSimulation();

    ComPtr<IDispatch> application;
    EXPECT_EQ(CoCreateInstance(IID_IUnknown, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(application.Receive())),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(pptsim::CLSID_SimulatedPowerPoint, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDispatch, reinterpret_cast<void**>(application.Receive())),
              REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(pptsim::ReadSimulationState().running);
}

TEST_F(Ole32, CoCreateInstance_StartsPowerPointOnceFromTheEnvironment) {
    ComApartment apartment;
    ComPtr<IDispatch> first;
    ComPtr<IDispatch> second;
    ASSERT_EQ(Create(first), S_OK);
    ASSERT_TRUE(first);
    EXPECT_TRUE(pptsim::ReadSimulationState().running);
    ASSERT_EQ(Create(second), S_OK);

    // Both references reach the same running PowerPoint: nothing open, no files (the defaults).
    const pptsim::SimulationState state = pptsim::ReadSimulationState();
    EXPECT_TRUE(state.open.empty());
    EXPECT_TRUE(state.active.empty());
}

}  // namespace

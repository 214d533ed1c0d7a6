// The ole32 stand-in with the simulated PowerPoint registered, as the plug-in meets it on Linux.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>

#include "platform/ComApartment.h"
#include "platform/ComPtr.h"
#include "platform/Platform.h"
#include "platform/linux/WindowList.h"
#include "sim/SimulationControl.h"
#include "sim/SimulationIds.h"

namespace {

class Ole32Linux : public ::testing::Test {
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

struct ProgIdCase {
    const char* name;
    const wchar_t* progId;
    const char* scenario;
    HRESULT expected;
};
void PrintTo(const ProgIdCase& c, std::ostream* out) {
    *out << c.name;
}

class ProgIdLookup : public Ole32Linux, public ::testing::WithParamInterface<ProgIdCase> {};

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
                      ProgIdCase{"NotRegistered", L"PowerPoint.Application",
                                 R"({"registered": false})", CO_E_CLASSSTRING},
                      ProgIdCase{"UnavailableIsStillRegistered", L"PowerPoint.Application",
                                 R"({"available": false})", S_OK}));

TEST_F(Ole32Linux, CoCreateInstance_UnavailablePowerPointFailsToStart) {
    pptsim::ResetSimulation(R"({"available": false})");
    ComApartment apartment;
    ComPtr<IDispatch> application;
    EXPECT_EQ(Create(application), CO_E_SERVER_EXEC_FAILURE);
    EXPECT_FALSE(application);
}

TEST_F(Ole32Linux, CoCreateInstance_UnknownClassOrInProcessContextIsNotRegistered) {
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

TEST_F(Ole32Linux, CoCreateInstance_StartsPowerPointOnceFromTheEnvironment) {
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

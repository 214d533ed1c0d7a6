// The ole32 stand-in with the simulated PowerPoint registered, as the plug-in meets it on Linux.
#include <gtest/gtest.h>

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

TEST_F(Ole32Linux, ScenarioDecidesWhetherPowerPointIsRegisteredAndStarts) {
    const struct {
        const char* scenario;
        HRESULT lookup;
        HRESULT created;
    } cases[] = {{"{}", S_OK, S_OK},
                 {R"({"registered": false})", CO_E_CLASSSTRING, REGDB_E_CLASSNOTREG},
                 {R"({"available": false})", S_OK, CO_E_SERVER_EXEC_FAILURE}};
    ComApartment apartment;
    for (const auto& c : cases) {
        pptsim::ResetSimulation(c.scenario);
        CLSID clsid{};
        // ProgIDs are registry key names: any letter case finds the class.
        EXPECT_EQ(CLSIDFromProgID(L"powerpoint.APPLICATION", &clsid), c.lookup) << c.scenario;
        EXPECT_EQ(clsid, SUCCEEDED(c.lookup) ? pptsim::CLSID_SimulatedPowerPoint : CLSID{})
            << c.scenario;
        ComPtr<IDispatch> application;
        EXPECT_EQ(Create(application), c.created) << c.scenario;
        EXPECT_EQ(static_cast<bool>(application), SUCCEEDED(c.created)) << c.scenario;
    }
}

TEST_F(Ole32Linux, CoCreateInstance_OtherClassOrInProcessContextIsNotRegistered) {
    ComApartment apartment;
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

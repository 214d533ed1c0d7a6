// The simulated PowerPoint as pptsim-server.exe serves it across processes (Windows lane, under
// Wine): a PowerPoint outside the running object table that activation still reaches, and one
// that starts again by itself, in a new process that COM did not start, after it exited.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "automation/LateBoundCalls.h"
#include "platform/ComApartment.h"
#include "platform/ComPtr.h"
#include "platform/Platform.h"
#include "sim/SimulationIds.h"
#include "tests/simulation-fixture/Eventually.h"

// After the platform header, which includes windows.h.
#include <tlhelp32.h>

namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name + std::to_wstring(GetCurrentProcessId());
}

std::string Narrow(const std::wstring& text) {
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

int ServerProcesses() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        count +=
            CompareStringOrdinal(entry.szExeFile, -1, L"pptsim-server.exe", -1, TRUE) == CSTR_EQUAL
                ? 1
                : 0;
    }
    CloseHandle(snapshot);
    return count;
}

HWND Frame(const wchar_t* title) {
    return FindWindowW(L"PPTFrameClass", title);
}

// Each test's scenario and trace, handed to the servers COM starts through the environment.
class SimulatedServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Eventually([] { return ServerProcesses() == 0; }))
            << "a server of an earlier test stayed";
        DeleteFileW(tracePath.c_str());
        SetEnvironmentVariableW(L"PPTSIM_SCENARIO", scenarioPath.c_str());
        SetEnvironmentVariableW(L"PPTSIM_TRACE", tracePath.c_str());
    }
    void TearDown() override {
        for (const wchar_t* title : {L"Q3 review.pptx - PowerPoint", L"Intro.pptx - PowerPoint"}) {
            if (HWND frame = Frame(title)) {
                SendMessageTimeoutW(frame, WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, nullptr);
            }
        }
        EXPECT_TRUE(Eventually([] { return ServerProcesses() == 0; })) << "a server stayed";
        SetEnvironmentVariableW(L"PPTSIM_SCENARIO", nullptr);
        SetEnvironmentVariableW(L"PPTSIM_TRACE", nullptr);
        DeleteFileW(scenarioPath.c_str());
        DeleteFileW(tracePath.c_str());
    }

    void WriteScenario(const std::string& json) {
        std::ofstream(Narrow(scenarioPath), std::ios::binary) << json;
    }
    std::vector<std::string> Trace() const {
        std::ifstream file(Narrow(tracePath), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    long TraceCount(const std::string& line) const {
        const std::vector<std::string> lines = Trace();
        return static_cast<long>(std::count(lines.begin(), lines.end(), line));
    }

    static HRESULT Create(ComPtr<IDispatch>& application) {
        return CoCreateInstance(pptsim::CLSID_SimulatedPowerPoint, nullptr, CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(application.Receive()));
    }
    static HRESULT Attach(ComPtr<IDispatch>& application) {
        IUnknown* running = nullptr;
        const HRESULT attached =
            GetActiveObject(pptsim::CLSID_SimulatedPowerPoint, nullptr, &running);
        if (running != nullptr) {
            running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application.Receive()));
            running->Release();
        }
        return attached;
    }
    static long OpenCount(IDispatch* application) {
        return ReadProperty(ReadProperty(application, L"Presentations").TakeObject().Get(),
                            L"Count")
            .Integer()
            .value_or(-1);
    }

    const ComApartment apartment;
    const std::wstring scenarioPath = TempFile(L"pptsim-scenario-");
    const std::wstring tracePath = TempFile(L"pptsim-trace-");
};

TEST_F(SimulatedServer, OutsideTheRunningObjectTable_ActivationReachesTheRunningPowerPoint) {
    WriteScenario(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12},
                      "open": ["C:\\Talks\\Q3 review.pptx"], "rot": false})");
    ComPtr<IDispatch> first;
    ASSERT_EQ(Create(first), S_OK);
    ComPtr<IDispatch> attached;
    EXPECT_EQ(Attach(attached), MK_E_UNAVAILABLE);
    ComPtr<IDispatch> second;
    ASSERT_EQ(Create(second), S_OK);
    EXPECT_EQ(OpenCount(second.Get()), 1);
    EXPECT_EQ(TraceCount("start PowerPoint"), 1);
    EXPECT_EQ(ServerProcesses(), 1);
}

class Restart : public SimulatedServer, public ::testing::WithParamInterface<bool> {};

TEST_P(Restart, StartsANewServerThatActivationReachesAndThatOutlivesItsClients) {
    const bool rot = GetParam();
    WriteScenario(
        std::string(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12, "C:\\Talks\\Intro.pptx": 5},
        "open": ["C:\\Talks\\Q3 review.pptx"], "rot": )") +
        (rot ? "true" : "false") + R"(,
        "restart": {"afterMs": 300, "open": ["C:\\Talks\\Intro.pptx"],
                    "shows": [{"presentation": "C:\\Talks\\Intro.pptx", "slide": 2}]}})");
    ComPtr<IDispatch> first;
    ASSERT_EQ(Create(first), S_OK);
    HWND q3 = Frame(L"Q3 review.pptx - PowerPoint");
    ASSERT_NE(q3, nullptr);
    SendMessageTimeoutW(q3, WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, nullptr);
    // RPC_S_SERVER_UNAVAILABLE from the simulation, or, while the server's process ends under
    // Wine, RPC_S_UNKNOWN_IF (0x800706B5) from COM.
    EXPECT_TRUE(FAILED(ReadProperty(first.Get(), L"Presentations").Status()));

    ASSERT_TRUE(Eventually([] { return Frame(L"Intro.pptx - PowerPoint") != nullptr; }));
    EXPECT_EQ(Trace(),
              (std::vector<std::string>{"start PowerPoint", "close Q3 review.pptx - PowerPoint",
                                        "exit PowerPoint", "restart PowerPoint"}));
    ComPtr<IDispatch> attached;
    EXPECT_EQ(Attach(attached), rot ? S_OK : MK_E_UNAVAILABLE);
    ComPtr<IDispatch> reached;
    ASSERT_EQ(Create(reached), S_OK);
    EXPECT_EQ(OpenCount(reached.Get()), 1);
    EXPECT_EQ(TraceCount("start PowerPoint"), 1) << "no activation started it";

    // The presenter's PowerPoint stays when its clients leave, and ends with its last window.
    attached.Reset();
    reached.Reset();
    first.Reset();
    HWND intro = Frame(L"Intro.pptx - PowerPoint");
    EXPECT_EQ(IsWindow(intro), TRUE);
    EXPECT_EQ(ServerProcesses(), 1);
    SendMessageTimeoutW(intro, WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, nullptr);
    EXPECT_TRUE(Eventually([] { return ServerProcesses() == 0; }));
    EXPECT_EQ(TraceCount("restart PowerPoint"), 1);
}

INSTANTIATE_TEST_SUITE_P(RunningObjectTable, Restart, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Registered" : "Unregistered");
                         });

}  // namespace

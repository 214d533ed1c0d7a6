#include "automation/RefreshFailureMemory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/AutomationDiagnostics.h"
#include "automation/HResultNames.h"

namespace {

const auto kEnded = DiagnosticsClock::now();

FailedCall Failed(const char* member, HRESULT error, int waitedMs = 3) {
    return {kEnded, ComposeInvokeFailure(member, 7, error), error,
            std::chrono::milliseconds(waitedMs)};
}

CommandRecord Record(const char* command, bool refreshRead, std::vector<FailedCall> failed,
                     int taken = 1) {
    CommandRecord record;
    record.command = command;
    record.refreshRead = refreshRead;
    record.failedCalls = std::move(failed);
    record.takenCalls = taken;
    return record;
}

std::string Joined(const std::vector<DiagnosticLine>& lines) {
    std::string text;
    for (const DiagnosticLine& line : lines) {
        text += line.text + "\n";
    }
    return text;
}

TEST(RefreshFailureMemory, FailedPress_IsWrittenEveryTimeWithMemberCodeCommandAndWait) {
    RefreshFailureMemory memory;
    for (int press = 0; press < 2; ++press) {
        const std::vector<DiagnosticLine> lines = memory.LinesOf(
            Record("NextSlide", false,
                   {Failed("Next", HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), 12)}),
            kEnded);
        ASSERT_EQ(lines.size(), 1u) << press;
        const std::string& text = lines[0].text;
        for (const char* part :
             {"NextSlide", "\"Next\"", "0x800706ba", "RPC_S_SERVER_UNAVAILABLE", "12 ms"}) {
            EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
        }
    }
}

// One refresh read over a session: what each refresh writes.
TEST(RefreshFailureMemory, RefreshKeepingToOneFailure_IsWrittenOnceAndOnceWhenItWorks) {
    struct Step {
        const char* what;
        CommandRecord record;
        const char* written;  // a part of what is written; nullptr: nothing
    };
    const std::vector<Step> steps{
        {"first failure",
         Record("GetActivePresentation", true, {Failed("ActivePresentation", DISP_E_EXCEPTION)}),
         "(DISP_E_EXCEPTION)"},
        {"the same again",
         Record("GetActivePresentation", true, {Failed("ActivePresentation", DISP_E_EXCEPTION)}),
         nullptr},
        {"PowerPoint not reached: no call made", Record("GetActivePresentation", true, {}, 0),
         nullptr},
        {"another failure",
         Record("GetActivePresentation", true,
                {Failed("FullName", static_cast<HRESULT>(0x80048240))}),
         "failed w/err 0x80048240 after"},
        {"works", Record("GetActivePresentation", true, {}), "GetActivePresentation: works again"},
        {"works still", Record("GetActivePresentation", true, {}), nullptr},
    };
    RefreshFailureMemory memory;
    for (const Step& step : steps) {
        const std::string written = Joined(memory.LinesOf(step.record, kEnded));
        if (step.written == nullptr) {
            EXPECT_EQ(written, "") << step.what;
        } else {
            EXPECT_NE(written.find(step.written), std::string::npos)
                << step.what << ": " << written;
        }
    }
}

TEST(RefreshFailureMemory, BusyRetries_AreCountedWithTheirWait) {
    RefreshFailureMemory memory;
    CommandRecord record = Record("FirstSlide", false, {});
    record.busyRetries = 4;
    record.busyWait = std::chrono::milliseconds(110);
    const std::string written = Joined(memory.LinesOf(record, kEnded));
    EXPECT_NE(written.find("FirstSlide"), std::string::npos) << written;
    EXPECT_NE(written.find(" 4 "), std::string::npos) << written;
    EXPECT_NE(written.find("110 ms"), std::string::npos) << written;
}

TEST(HResultNames, NamedCodesByName_OthersInHexadecimal) {
    EXPECT_EQ(DescribeHResult(RPC_E_CALL_REJECTED), "0x80010001 (RPC_E_CALL_REJECTED)");
    EXPECT_EQ(DescribeHResult(HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)),
              "0x800706ba (RPC_S_SERVER_UNAVAILABLE)");
    EXPECT_EQ(DescribeHResult(CO_E_SERVER_EXEC_FAILURE), "0x80080005 (CO_E_SERVER_EXEC_FAILURE)");
    EXPECT_EQ(DescribeHResult(static_cast<HRESULT>(0x80048240)), "0x80048240");
}

}  // namespace

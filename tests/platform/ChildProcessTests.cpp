// The environment a started program gets: this program's own, with the given variables added
// or replacing those of the same name. The child reports the variable it sees as its exit code.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/ChildProcess.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kVariable = "GP_CHILD_EXIT";

// Sets (or with nullptr removes) a variable of this program's own environment.
void SetOwnVariable(const char* name, const char* value) {
#ifdef _WIN32
    const std::wstring wideName(name, name + std::strlen(name));
    const std::wstring wideValue = value ? std::wstring(value, value + std::strlen(value)) : L"";
    SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
#else
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

std::optional<int> ExitCodeSeen(const ChildProcess::Environment& environment) {
#ifdef _WIN32
    ChildProcess child("C:\\windows\\system32\\cmd.exe", {"/c", "exit", "%GP_CHILD_EXIT%"},
                       environment);
#else
    ChildProcess child("/bin/sh", {"-c", "exit $GP_CHILD_EXIT"}, environment);
#endif
    return child.WaitForExit(std::chrono::milliseconds(10000));
}

TEST(ChildProcess, GetsOwnEnvironmentWithGivenVariables) {
    struct Case {
        const char* name;
        const char* own;  // this program's value, nullptr: not set
        ChildProcess::Environment given;
        int seen;
    };
    const std::vector<Case> cases = {
        {"added", nullptr, {{kVariable, "7"}}, 7},
        {"replaces this program's", "3", {{kVariable, "9"}}, 9},
        {"inherited beside others added", "5", {{"GP_CHILD_OTHER", "1"}}, 5},
    };
    for (const Case& c : cases) {
        SetOwnVariable(kVariable, c.own);
        EXPECT_EQ(ExitCodeSeen(c.given), c.seen) << c.name;
    }
    SetOwnVariable(kVariable, nullptr);
}

}  // namespace

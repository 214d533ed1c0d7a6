#include "support/PathUtilities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ExpectEach.h"

namespace {

using PathCases = Expectations<std::string, std::string>;

TEST(GetLastPathComponent, FollowsSeparatorOfEachPath) {
    const PathCases cases{
        {R"(C:\a\b.exe)", "b.exe"},
        {R"(C:\a\b\)", "b"},
        {R"(C:\a\\)", "a"},
        {R"(C:\)", R"(C:\)"},
        {"C:", "C:"},
        {"C:/", "C:"},
        {"/", "/"},
        {"//", "/"},
        {R"(\\)", R"(\)"},
        {"usr", "usr"},
        {"/usr/bin/", "bin"},
        {R"(a/b\c)", "c"},
        {R"(a\b/c)", "b/c"},
        {"", ""},
    };
    ExpectEach(GetLastPathComponent, cases);
}

TEST(GetParentPath, StopsAtRoots) {
    const PathCases cases{
        {R"(C:\a\b.exe)", R"(C:\a)"},
        {R"(C:\a\b\)", R"(C:\a)"},
        {R"(C:\a\\b)", R"(C:\a)"},
        {R"(C:\a)", R"(C:\)"},
        {R"(C:\)", R"(C:\)"},
        {"C:", "C:/"},
        {"C:/", "C:/"},
        {"C:/Temp", R"(C:\)"},
        {"/usr", "/"},
        {"/usr/bin", "/usr"},
        {"/", "/"},
        {"usr", ""},
        {R"(\x)", ""},
        {R"(\\srv\share)", R"(\\srv\share)"},
        {R"(\\srv\share\dir)", R"(\\srv\share)"},
        {R"(a/b\c)", "a/b"},
        {"", ""},
    };
    ExpectEach(GetParentPath, cases);
}

TEST(GetPathExtension, TakesLastDotOfLastComponent) {
    const PathCases cases{
        {"a.b", ".b"},
        {"abc.", ""},
        {"abc", ""},
        {R"(C:\Tools\x.y.gpPlugin)", ".gpPlugin"},
        {R"(C:\Tools\x.gpPlugin\)", ".gpPlugin"},
        {R"(C:\dir.d\file)", ""},
        {".gpPlugin", ".gpPlugin"},
        {"", ""},
    };
    ExpectEach(GetPathExtension, cases);
}

struct JoinCase {
    std::string base;
    std::string component;
    std::string expected;
};

TEST(JoinPath, PutsOneBackslashBetweenAndConvertsSlashes) {
    const std::vector<JoinCase> cases{
        {R"(C:\x)", "de.json", R"(C:\x\de.json)"},
        {R"(C:\x\)", "de.json", R"(C:\x\de.json)"},
        {R"(C:\x)", R"(\de.json)", R"(C:\x\de.json)"},
        {"C:\\x/", "/de.json", R"(C:\x\de.json)"},
        {R"(C:\x\)", R"(\de.json)", R"(C:\x\de.json)"},
        {"C:/x", "a/b", R"(C:\x\a\b)"},
        {"", "a/b", "a/b"},
        {R"(C:\x)", "", R"(C:\x\)"},
        {R"(C:\x)", "../de.json", R"(C:\x\..\de.json)"},
    };
    for (const JoinCase& c : cases) {
        EXPECT_EQ(JoinPath(c.base, c.component), c.expected) << c.base << " + " << c.component;
    }
}

TEST(IsNetworkShareRoot, AllowsAtMostOneSeparatorAfterTheLeadingPair) {
    const Expectations<std::string, bool> cases{
        {R"(\\srv)", true},
        {R"(\\srv\share)", true},
        {R"(\\)", true},
        {"//host/share", true},
        {R"(\\srv\share\dir)", false},
        {R"(\\srv\share\)", false},
        {R"(\srv)", false},
        {R"(C:\srv)", false},
        {"/", false},
        {"", false},
    };
    ExpectEach(IsNetworkShareRoot, cases);
}

}  // namespace

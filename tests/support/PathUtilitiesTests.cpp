#include "support/PathUtilities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PathCase {
    std::string path;
    std::string expected;
};

TEST(GetLastPathComponent, FollowsSeparatorOfEachPath) {
    const std::vector<PathCase> cases{
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
    for (const PathCase& c : cases) {
        EXPECT_EQ(GetLastPathComponent(c.path), c.expected) << c.path;
    }
}

TEST(GetParentPath, StopsAtRoots) {
    const std::vector<PathCase> cases{
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
    for (const PathCase& c : cases) {
        EXPECT_EQ(GetParentPath(c.path), c.expected) << c.path;
    }
}

TEST(GetPathExtension, TakesLastDotOfLastComponent) {
    const std::vector<PathCase> cases{
        {"a.b", ".b"},
        {"abc.", ""},
        {"abc", ""},
        {R"(C:\Tools\x.y.gpPlugin)", ".gpPlugin"},
        {R"(C:\Tools\x.gpPlugin\)", ".gpPlugin"},
        {R"(C:\dir.d\file)", ""},
        {".gpPlugin", ".gpPlugin"},
        {"", ""},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(GetPathExtension(c.path), c.expected) << c.path;
    }
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

struct ShareRootCase {
    std::string path;
    bool expected;
};

TEST(IsNetworkShareRoot, AllowsAtMostOneSeparatorAfterTheLeadingPair) {
    const std::vector<ShareRootCase> cases{
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
    for (const ShareRootCase& c : cases) {
        EXPECT_EQ(IsNetworkShareRoot(c.path), c.expected) << c.path;
    }
}

}  // namespace

#include "support/PluginFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace {

struct WalkCase {
    std::string modulePath;
    std::string expected;
};

TEST(FindPluginFolder, FindsNearestEnclosingPluginFolder) {
    const std::vector<WalkCase> cases{
        {R"(C:\Tools\Slides.gpPlugin\x.exe)", R"(C:\Tools\Slides.gpPlugin)"},
        {R"(C:\Tools\Slides.gpPlugin\bin\x.exe)", R"(C:\Tools\Slides.gpPlugin)"},
        {R"(C:\A.gpPlugin\B.gpPlugin\x.exe)", R"(C:\A.gpPlugin\B.gpPlugin)"},
        {R"(C:\Tools\.gpPlugin\x.exe)", R"(C:\Tools\.gpPlugin)"},
        {R"(\\server\share\Slides.gpPlugin\x.exe)", R"(\\server\share\Slides.gpPlugin)"},
        {"/opt/glyphpad/Slides.gpPlugin/bin/x", "/opt/glyphpad/Slides.gpPlugin"},
        // The executable itself is tested first.
        {R"(C:\Tools\odd.gpPlugin)", R"(C:\Tools\odd.gpPlugin)"},
        {R"(C:\Tools\Slides.GPPLUGIN\x.exe)", ""},
        {R"(C:\Tools\Slides.gpPluginX\x.exe)", ""},
        {R"(C:\Tools\x.exe)", ""},
        {R"(\\server\share\dir\x.exe)", ""},
        {"/usr/bin/x", ""},
        {"x.exe", ""},
        {"C:", ""},
        {"", ""},
    };
    for (const WalkCase& c : cases) {
        EXPECT_EQ(FindPluginFolder(c.modulePath), c.expected) << c.modulePath;
    }
}

TEST(GetPluginFolder, AgreesWithWalkFromModulePath) {
    char buffer[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, buffer, MAX_PATH), 0u);
    EXPECT_EQ(GetPluginFolder(), FindPluginFolder(buffer)) << buffer;
}

}  // namespace

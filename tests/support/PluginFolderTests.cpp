#include "support/PluginFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "tests/support/ExpectEach.h"

namespace {

TEST(FindPluginFolder, FindsNearestEnclosingPluginFolder) {
    const Expectations<std::string, std::string> cases{
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
    ExpectEach(FindPluginFolder, cases);
}

TEST(GetPluginFolder, AgreesWithWalkFromModulePath) {
    char buffer[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, buffer, MAX_PATH), 0u);
    EXPECT_EQ(GetPluginFolder(), FindPluginFolder(buffer)) << buffer;
}

}  // namespace

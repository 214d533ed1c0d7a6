#include "host/CommandLine.h"

#include <climits>

#include <gtest/gtest.h>

#include "host/LanguageFromInfo.h"

namespace {

std::optional<StartupArguments> Parse(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"glyphpad-powerpoint"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

struct CommandLineCase {
    const char* name;
    std::vector<std::string> arguments;
    std::optional<int> port;  // empty: the command line is rejected
};

TEST(ParseCommandLine, AcceptsOnlyFourCompletePairs) {
    const std::vector<CommandLineCase> cases{
        {"canonical order",
         {"-port", "28196", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         28196},
        {"reversed order",
         {"-info", "{}", "-registerEvent", "R", "-pluginUUID", "U", "-port", "28196"},
         28196},
        {"digits then letters",
         {"-port", "443abc", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         443},
        {"leading blanks and plus",
         {"-port", "  +80", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         80},
        {"negative port passes start-up",
         {"-port", "-5", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         -5},
        {"above 65535 passes start-up",
         {"-port", "70000", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         70000},
        {"beyond int clamps instead of wrapping to a valid port",
         {"-port", "4294975376", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         INT_MAX},
        {"-port twice, -info left out",
         {"-port", "1", "-port", "2", "-pluginUUID", "U", "-registerEvent", "R"},
         std::nullopt},
        {"value that looks like a flag is a value",
         {"-pluginUUID", "-port", "-port", "9", "-registerEvent", "R", "-info", "{}"},
         9},
        {"letter-case flag",
         {"-Port", "28196", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         std::nullopt},
        {"prefix of flag",
         {"-por", "28196", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         std::nullopt},
        {"flag with suffix",
         {"-portx", "28196", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         std::nullopt},
        {"port zero",
         {"-port", "0", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         std::nullopt},
        {"port letters",
         {"-port", "abc", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}"},
         std::nullopt},
        {"empty uuid",
         {"-port", "1", "-pluginUUID", "", "-registerEvent", "R", "-info", "{}"},
         std::nullopt},
        {"empty register event",
         {"-port", "1", "-pluginUUID", "U", "-registerEvent", "", "-info", "{}"},
         std::nullopt},
        {"empty info",
         {"-port", "1", "-pluginUUID", "U", "-registerEvent", "R", "-info", ""},
         std::nullopt},
        {"seven arguments",
         {"-port", "1", "-pluginUUID", "U", "-registerEvent", "R"},
         std::nullopt},
        {"ten arguments",
         {"-port", "1", "-pluginUUID", "U", "-registerEvent", "R", "-info", "{}", "extra"},
         std::nullopt},
        {"no arguments", {}, std::nullopt},
    };
    for (const CommandLineCase& c : cases) {
        const auto parsed = Parse(c.arguments);
        ASSERT_EQ(parsed.has_value(), c.port.has_value()) << c.name;
        if (parsed) {
            EXPECT_EQ(parsed->port, *c.port) << c.name;
        }
    }
}

TEST(ParseCommandLine, CopiesValuesAsBytes) {
    const auto parsed = Parse({"-pluginUUID", "token", "-port", "8080", "-registerEvent",
                               "register \xC3\xA4", "-info", " x "});
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->pluginUUID, "token");
    EXPECT_EQ(parsed->registerEvent, "register \xC3\xA4");
    EXPECT_EQ(parsed->info, " x ");
}

struct LanguageCase {
    const char* name;
    std::string info;
    std::string expected;
};

TEST(LanguageFromInfo, ReadsApplicationLanguageOrEnglish) {
    const std::vector<LanguageCase> cases{
        {"language given", R"({"application":{"language":"de","version":"6"}})", "de"},
        {"empty language string", R"({"application":{"language":""}})", ""},
        {"language a number", R"({"application":{"language":7}})", "en"},
        {"application a string", R"({"application":"de"})", "en"},
        {"no application", R"({"language":"de"})", "en"},
        {"not JSON", "not json", "en"},
        {"two JSON values", R"({"application":{"language":"de"}} {})", "en"},
        {"array document", R"([{"application":{"language":"de"}}])", "en"},
        {"truncated", R"({"application":{"language":"de")", "en"},
        {"nested too deeply to copy",
         R"({"application":{"language":"de","x":)" + std::string(20000, '[') +
             std::string(20000, ']') + "}}",
         "en"},
    };
    for (const LanguageCase& c : cases) {
        EXPECT_EQ(LanguageFromInfo(c.info), c.expected) << c.name;
    }
}

}  // namespace

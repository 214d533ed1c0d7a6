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

// The host application's command line, its four pairs in its order, with these values.
std::vector<std::string> InHostOrder(const std::string& port, const std::string& uuid = "U",
                                     const std::string& event = "R",
                                     const std::string& info = "{}") {
    return {"-port", port, "-pluginUUID", uuid, "-registerEvent", event, "-info", info};
}

// The same with the port's flag spelled otherwise.
std::vector<std::string> WithPortFlag(const std::string& flag) {
    std::vector<std::string> arguments = InHostOrder("28196");
    arguments[0] = flag;
    return arguments;
}

TEST(ParseCommandLine, AcceptsOnlyFourCompletePairs) {
    const std::vector<CommandLineCase> cases{
        {"canonical order", InHostOrder("28196"), 28196},
        {"reversed order",
         {"-info", "{}", "-registerEvent", "R", "-pluginUUID", "U", "-port", "28196"},
         28196},
        {"digits then letters", InHostOrder("443abc"), 443},
        {"leading blanks and plus", InHostOrder("  +80"), 80},
        {"negative port passes start-up", InHostOrder("-5"), -5},
        {"above 65535 passes start-up", InHostOrder("70000"), 70000},
        {"beyond int clamps instead of wrapping to a valid port", InHostOrder("4294975376"),
         INT_MAX},
        {"-port twice, -info left out",
         {"-port", "1", "-port", "2", "-pluginUUID", "U", "-registerEvent", "R"},
         std::nullopt},
        {"value that looks like a flag is a value",
         {"-pluginUUID", "-port", "-port", "9", "-registerEvent", "R", "-info", "{}"},
         9},
        {"letter-case flag", WithPortFlag("-Port"), std::nullopt},
        {"prefix of flag", WithPortFlag("-por"), std::nullopt},
        {"flag with suffix", WithPortFlag("-portx"), std::nullopt},
        {"port zero", InHostOrder("0"), std::nullopt},
        {"port letters", InHostOrder("abc"), std::nullopt},
        {"empty uuid", InHostOrder("1", ""), std::nullopt},
        {"empty register event", InHostOrder("1", "U", ""), std::nullopt},
        {"empty info", InHostOrder("1", "U", "R", ""), std::nullopt},
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

#include <gtest/gtest.h>

#include "fieldcheck/FieldCheckOptions.h"
#include "fieldcheck/KeyDisplay.h"

namespace {

struct OptionsCase {
    const char* name;
    std::vector<std::string> arguments;
    bool valid;
    std::string plugin;
    std::string json;
    bool close;
};

void PrintTo(const OptionsCase& c, std::ostream* out) {
    *out << c.name;
}

class FieldCheckCommandLine : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(FieldCheckCommandLine, ReadsFlagsOrSaysWhatIsWrong) {
    std::string problem;
    const std::optional<FieldCheckOptions> options =
        ParseFieldCheckOptions(GetParam().arguments, problem);
    ASSERT_EQ(options.has_value(), GetParam().valid) << problem;
    if (options) {
        EXPECT_EQ(options->plugin, GetParam().plugin);
        EXPECT_EQ(options->jsonReport, GetParam().json);
        EXPECT_EQ(options->closePowerPoint, GetParam().close);
    } else {
        EXPECT_FALSE(problem.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldCheckCommandLine,
    ::testing::Values(OptionsCase{"None", {}, true, "", "", false},
                      OptionsCase{"All",
                                  {"--close", "--json", "r.json", "--plugin", "p.exe"},
                                  true,
                                  "p.exe",
                                  "r.json",
                                  true},
                      OptionsCase{"FlagWithoutValue", {"--json"}, false, "", "", false},
                      OptionsCase{"EmptyValue", {"--deck", ""}, false, "", "", false},
                      OptionsCase{"Unknown", {"--closes"}, false, "", "", false}),
    [](const ::testing::TestParamInfo<OptionsCase>& info) { return std::string(info.param.name); });

TEST(KeyDisplay, FollowsThePlayKeyAndTheLoadListOnlyForTheirContexts) {
    KeyDisplay display("P", "L");
    EXPECT_TRUE(display.Apply(
        R"({"context":"P","event":"setTitle","payload":{"target":0,"title":"2/5"}})"));
    EXPECT_FALSE(display.Apply(
        R"({"context":"X","event":"setTitle","payload":{"target":0,"title":"9/9"}})"));
    display.Apply(R"({"context":"P","event":"setState","payload":{"state":0}})");
    display.Apply(R"({"context":"X","event":"setState","payload":{"state":1}})");
    display.Apply(
        R"({"action":"a","context":"L","event":"sendToPropertyInspector","payload":{"presentations":["C:/a.pptx"]}})");
    display.Apply(R"({"context":"N","event":"showAlert"})");
    EXPECT_FALSE(display.Apply(R"({"context":"P","event":"setTitle","payload":{"title":5}})"))
        << "a title of the wrong type is no title";
    EXPECT_FALSE(display.Apply("not json"));
    EXPECT_EQ(display.DescribePlayKey(), "'2/5', state 0");
    EXPECT_EQ(display.DescribeLoadList(), "['C:/a.pptx']");
    EXPECT_EQ(display.TakeAlerts(), std::vector<std::string>{"N"});
    EXPECT_TRUE(display.TakeAlerts().empty());
}

}  // namespace

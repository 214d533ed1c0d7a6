#include "host/JsonMembers.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

struct StringCase {
    const char* name;
    json value;
    std::string expected;
};

TEST(ReadStringMember, ReturnsStringMemberOrFallback) {
    const std::vector<StringCase> cases{
        {"string member", json{{"k", "text"}}, "text"},
        {"empty string member", json{{"k", ""}}, ""},
        {"non-ASCII kept as bytes", json{{"k", "\xC3\xA4"}}, "\xC3\xA4"},
        {"number member", json{{"k", 42}}, "fallback"},
        {"null member", json{{"k", nullptr}}, "fallback"},
        {"object member", json{{"k", json::object()}}, "fallback"},
        {"boolean member", json{{"k", true}}, "fallback"},
        {"absent member", json{{"other", "text"}}, "fallback"},
        {"case differs", json{{"K", "text"}}, "fallback"},
        {"null value", json(nullptr), "fallback"},
        {"array value", json::array({"k", "text"}), "fallback"},
        {"string value", json("k"), "fallback"},
        {"number value", json(7), "fallback"},
    };
    for (const StringCase& c : cases) {
        const json before = c.value;
        EXPECT_EQ(ReadStringMember(c.value, "k", "fallback"), c.expected) << c.name;
        EXPECT_EQ(c.value, before) << c.name;
    }
}

struct ObjectCase {
    const char* name;
    json value;
    bool replaced;
};

TEST(ReadObjectMember, ReplacesOutputOnlyForObjectMember) {
    const json previous{{"kept", 1}};
    const std::vector<ObjectCase> cases{
        {"object member", json{{"k", {{"a", {{"b", 2}}}}}}, true},
        {"empty object member", json{{"k", json::object()}}, true},
        {"array member", json{{"k", json::array({1, 2})}}, false},
        {"string member", json{{"k", "text"}}, false},
        {"number member", json{{"k", 3}}, false},
        {"boolean member", json{{"k", false}}, false},
        {"null member", json{{"k", nullptr}}, false},
        {"absent member", json{{"other", json::object()}}, false},
        {"null value", json(nullptr), false},
        {"array value", json::array({json::object()}), false},
        {"string value", json("k"), false},
    };
    for (const ObjectCase& c : cases) {
        json output = previous;
        EXPECT_EQ(ReadObjectMember(c.value, "k", output), c.replaced) << c.name;
        EXPECT_EQ(output, c.replaced ? c.value.at("k") : previous) << c.name;
    }
}

TEST(ReadObjectMember, OutputIsIndependentCopy) {
    json source{{"k", {{"a", 1}}}};
    json output;
    ASSERT_TRUE(ReadObjectMember(source, "k", output));
    source["k"]["a"] = 2;
    EXPECT_EQ(output, (json{{"a", 1}}));
}

}  // namespace

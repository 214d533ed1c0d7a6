#include "host/HostCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using nlohmann::json;
using ::testing::HasSubstr;

struct SerialisedCase {
    const char* name;
    std::string actual;
    std::string expected;
};

TEST(HostCommands, SerialiseByteExact) {
    const std::string umlautContext = "ctx-\xC3\xA4\xF0\x9F\x98\x80";  // ä and U+1F600 as UTF-8
    const std::vector<SerialisedCase> cases{
        {"registration", SerializeRegistration("registerPlugin", "ABC-123"),
         R"({"event":"registerPlugin","uuid":"ABC-123"})"},
        {"setTitle", SerializeSetTitle("3/12", "c1"),
         R"({"context":"c1","event":"setTitle","payload":{"target":0,"title":"3/12"}})"},
        {"setTitle non-ASCII context stays raw UTF-8", SerializeSetTitle("t", umlautContext),
         "{\"context\":\"" + umlautContext +
             "\",\"event\":\"setTitle\",\"payload\":{\"target\":0,\"title\":\"t\"}}"},
        {"setTitle escapes", SerializeSetTitle("a\nb\t\"q\"\\\b\f\r", "c"),
         R"({"context":"c","event":"setTitle","payload":{"target":0,"title":"a\nb\t\"q\"\\\b\f\r"}})"},
        {"other control characters as lower-case \\u", SerializeSetTitle("\x1f\x01\x7f", "c"),
         "{\"context\":\"c\",\"event\":\"setTitle\",\"payload\":{\"target\":0,\"title\":"
         "\"\\u001f\\u0001\x7f\"}}"},
        {"showAlert", SerializeShowAlert("c2"), R"({"context":"c2","event":"showAlert"})"},
        {"setState", SerializeSetState(1, "c3"),
         R"({"context":"c3","event":"setState","payload":{"state":1}})"},
        {"setState negative", SerializeSetState(-7, "c3"),
         R"({"context":"c3","event":"setState","payload":{"state":-7}})"},
        {"sendToPropertyInspector",
         SerializeSendToPropertyInspector(
             "com.korvex.powerpoint.load", "c4",
             json{{"presentations", json::array({"C:/a b.pptx", "D:/\xC3\xA4.pptx"})}}),
         "{\"action\":\"com.korvex.powerpoint.load\",\"context\":\"c4\",\"event\":"
         "\"sendToPropertyInspector\",\"payload\":{\"presentations\":[\"C:/a b.pptx\",\"D:/"
         "\xC3\xA4.pptx\"]}}"},
        {"sendToPropertyInspector null payload", SerializeSendToPropertyInspector("a", "c", json()),
         R"({"action":"a","context":"c","event":"sendToPropertyInspector","payload":null})"},
        {"payload members sorted by byte",
         SerializeSendToPropertyInspector("a", "c", json{{"b", 1}, {"B", 2}, {"a", 3}}),
         R"({"action":"a","context":"c","event":"sendToPropertyInspector","payload":{"B":2,"a":3,"b":1}})"},
    };
    for (const SerialisedCase& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
    }
}

// What the JSON library's type error says when `serialise` raises one.
std::string TypeErrorOf(const std::function<void()>& serialise) {
    try {
        serialise();
    } catch (const json::type_error& error) {
        return error.what();
    }
    return "no type error";
}

TEST(HostCommands, InvalidUtf8Throws_TypeErrorNamingTheByte) {
    const std::string lone = "a\xFF";
    const std::string truncated = "a\xC3";
    EXPECT_THROW(SerializeRegistration(lone, "uuid"), json::type_error);
    EXPECT_THROW(SerializeRegistration("event", truncated), json::type_error);
    EXPECT_THROW(SerializeShowAlert(lone), json::type_error);
    EXPECT_THROW(SerializeSetState(0, truncated), json::type_error);
    EXPECT_THROW(SerializeSendToPropertyInspector("a", "c", json{{"p", lone}}), json::type_error);
    EXPECT_THAT(TypeErrorOf([&] { SerializeSetTitle(lone, "c"); }),
                HasSubstr("invalid UTF-8 byte at index 1: 0xFF"));
    EXPECT_THAT(TypeErrorOf([&] { SerializeSetTitle(truncated, "c"); }),
                HasSubstr("incomplete UTF-8 string; last byte: 0xC3"));
}

}  // namespace

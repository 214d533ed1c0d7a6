// Inputs that once broke the inbound path, kept so that they stay harmless.
#include <future>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/HostEvents.h"
#include "host/KGPConnectionManager.h"
#include "hostpeer/LoopbackHost.h"
#include "tests/host/RecordingPlugin.h"

namespace {

using nlohmann::json;

// Far deeper than the network thread's stack can copy recursively.
constexpr std::size_t kHostileDepth = 100000;

std::string NestedArrays(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

std::string NestedObjects(std::size_t depth) {
    std::string text;
    for (std::size_t level = 0; level < depth; ++level) {
        text += R"({"a":)";
    }
    text += "0";
    return text + std::string(depth, '}');
}

struct DeepFrame {
    const char* name;
    std::string text;
};

TEST(InboundFuzzRegression, UnreadableFrame_IsDroppedWithoutCalls) {
    const DeepFrame frames[] = {
        {"arrays in the payload",
         R"({"event":"keyDown","payload":{"a":)" + NestedArrays(kHostileDepth) + "}}"},
        {"objects in the payload",
         R"({"event":"keyUp","payload":)" + NestedObjects(kHostileDepth) + "}"},
        {"deviceInfo",
         R"({"event":"deviceDidConnect","deviceInfo":)" + NestedObjects(kHostileDepth) + "}"},
        {"settings", R"({"event":"didReceiveSettings","payload":{"settings":)" +
                         NestedObjects(kHostileDepth) + "}}"},
        {"an unread member", R"({"event":"keyDown","other":)" + NestedArrays(kHostileDepth) + "}"},
        {"cut short", R"({"event":"keyDown")"},
        {"a number beyond a double", R"({"event":"keyDown","context":1e999})"},
        {"a second value", R"({"event":"keyDown"} {})"},
    };
    for (const DeepFrame& frame : frames) {
        RecordingPlugin plugin;
        EXPECT_FALSE(DispatchHostMessage(plugin, frame.text)) << frame.name;
        EXPECT_TRUE(plugin.Calls().empty()) << frame.name;
    }
}

TEST(InboundFuzzRegression, NestedPayloadOfPlausibleDepth_ReachesPlugin) {
    const json payload = json::parse(NestedObjects(64));
    const json message{{"event", "keyDown"}, {"context", "c"}, {"payload", payload}};
    RecordingPlugin plugin;
    EXPECT_TRUE(DispatchHostMessage(plugin, message.dump()));
    ASSERT_EQ(plugin.Calls().size(), 1u);
    EXPECT_EQ(plugin.Calls().front().operation, "OnKeyDown");
    EXPECT_EQ(plugin.Calls().front().value, payload);
}

// The parser reads a frame up to a NUL; the nesting bound looks no further than it reads.
TEST(InboundFuzzRegression, BracketsAfterANul_DoNotDropTheFrame) {
    const std::string frame = std::string(R"({"event":"keyDown","context":"c"})") + '\0' +
                              std::string(kHostileDepth, '[');
    RecordingPlugin plugin;
    EXPECT_TRUE(DispatchHostMessage(plugin, frame));
    ASSERT_EQ(plugin.Calls().size(), 1u);
    EXPECT_EQ(plugin.Calls().front().operation, "OnKeyDown");
}

// The connection manager drops these frames whole and goes on with the next one.
TEST(InboundFuzzRegression, HostileFrames_LeaveLinkUp) {
    const DeepFrame frames[] = {
        {"deep nesting",
         R"({"event":"keyDown","payload":{"a":)" + NestedArrays(kHostileDepth) + "}}"},
        {"a number beyond a double", "1e30808,"},
        {"an event member beyond a double", R"({"event":"keyDown","context":1e999})"},
    };
    LoopbackHost host;
    RecordingPlugin plugin;
    KGPConnectionManager manager(host.Port(), "uuid", "registerPlugin", &plugin);
    std::future<void> run = std::async(std::launch::async, [&manager] { manager.Run(); });
    // Ends the link on every way out, so that waiting for Run cannot hang the test.
    struct CloseOnExit {
        LoopbackHost& host;
        ~CloseOnExit() { host.Close(); }
    } closeOnExit{host};
    ASSERT_TRUE(host.WaitForConnection());
    ASSERT_TRUE(plugin.WaitForCalls(1));

    std::size_t expectedCalls = 1;
    for (const DeepFrame& frame : frames) {
        ASSERT_TRUE(host.SendText(frame.text)) << frame.name;
        ASSERT_TRUE(host.SendText(R"({"event":"keyUp","context":"after"})")) << frame.name;
        ++expectedCalls;
        ASSERT_TRUE(plugin.WaitForCalls(expectedCalls)) << frame.name;
        EXPECT_EQ(plugin.Calls().size(), expectedCalls) << frame.name;
        EXPECT_EQ(plugin.Calls().back(),
                  (RecordingPlugin::Call{"OnKeyUp", {"", "after", ""}, nullptr}))
            << frame.name;
    }

    host.Close();
    EXPECT_EQ(run.wait_for(LoopbackHost::kDefaultTimeout), std::future_status::ready);
}

}  // namespace

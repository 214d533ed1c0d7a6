#include "host/KGPConnectionManager.h"

#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "hostpeer/LoopbackHost.h"
#include "tests/host/RecordingPlugin.h"

namespace {

using nlohmann::json;
using Call = RecordingPlugin::Call;

constexpr std::chrono::milliseconds kBound{5000};
const std::string kRegistration = R"({"event":"registerPlugin","uuid":"UUID-1"})";

// Runs a connection manager against the in-process host on a network thread of its own.
class ConnectionManagerTest : public ::testing::Test {
protected:
    void Start(int port, const std::string& uuid = "UUID-1",
               const std::string& registerEvent = "registerPlugin") {
        manager = std::make_unique<KGPConnectionManager>(port, uuid, registerEvent, &plugin);
        runDone = std::async(std::launch::async, [this] { manager->Run(); });
    }

    void StartConnected() {
        Start(host->Port());
        ASSERT_TRUE(plugin.WaitForCalls(1));
        ASSERT_EQ(plugin.Calls().front().operation, "OnConnected");
        // The client may see the link open before the host does; the host has certainly seen
        // it once the registration has arrived, and only then can it send.
        ASSERT_TRUE(host->WaitForFrame(0).has_value());
    }

    bool RunReturns() {
        return runDone.valid() && runDone.wait_for(kBound) == std::future_status::ready;
    }

    void TearDown() override {
        host->Close();
        if (!RunReturns()) {
            // Forcibly ends the link so that the network thread can be joined.
            host.reset();
        }
        if (runDone.valid()) {
            runDone.wait();
        }
    }

    // Sends a frame that must not reach the plug-in, then a marker that must: the marker being
    // the only new call proves the frame was dropped and the link survived it.
    void ExpectIgnored(const std::string& name, const std::function<void()>& sendFrame) {
        const std::size_t before = plugin.Calls().size();
        sendFrame();
        const json marker{{"event", "deviceDidDisconnect"}, {"device", "marker " + name}};
        ASSERT_TRUE(host->SendText(marker.dump())) << name;
        ASSERT_TRUE(plugin.WaitForCalls(before + 1)) << name;
        const std::vector<Call> calls = plugin.Calls();
        ASSERT_EQ(calls.size(), before + 1) << name;
        EXPECT_EQ(calls.back(), (Call{"OnDeviceDidDisconnect", {"marker " + name}, nullptr}))
            << name;
    }

    std::unique_ptr<LoopbackHost> host = std::make_unique<LoopbackHost>();
    RecordingPlugin plugin;
    std::unique_ptr<KGPConnectionManager> manager;
    std::future<void> runDone;
};

TEST_F(ConnectionManagerTest, Registration_IsFirstFrameThenOnConnected) {
    plugin.onCall = [this](const Call& call) {
        if (call.operation == "OnConnected") {
            manager->SetTitle("from OnConnected", "c");
        }
    };
    StartConnected();
    const auto first = host->WaitForFrame(0);
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(first->isText);
    EXPECT_EQ(first->text, kRegistration);
    const auto second = host->WaitForFrame(1);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(
        second->text,
        R"({"context":"c","event":"setTitle","payload":{"target":0,"title":"from OnConnected"}})");
    EXPECT_EQ(host->ConnectionCount(), 1);
}

TEST_F(ConnectionManagerTest, CommandBeforeRun_IsDroppedNotQueued) {
    manager =
        std::make_unique<KGPConnectionManager>(host->Port(), "UUID-1", "registerPlugin", &plugin);
    EXPECT_NO_THROW(manager->ShowAlert("early"));
    runDone = std::async(std::launch::async, [this] { manager->Run(); });
    ASSERT_TRUE(plugin.WaitForCalls(1));
    manager->ShowAlert("late");
    const auto late = host->WaitForFrameMatching(
        [](const ReceivedFrame& frame) { return frame.text.find("late") != std::string::npos; });
    ASSERT_TRUE(late.has_value());
    const std::vector<ReceivedFrame> frames = host->Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].text, kRegistration);
    EXPECT_EQ(frames[1].text, R"({"context":"late","event":"showAlert"})");
}

struct DispatchCase {
    const char* name;
    json message;
    Call expected;
};

TEST_F(ConnectionManagerTest, Dispatch_CallsTableOperationWithItsArgumentSources) {
    const json settings{{"korfilepicker", "C:/deck.pptx"}};
    const json payload{{"settings", settings}, {"coordinates", {{"column", 1}}}};
    const json info{{"name", "Panel"}, {"type", 0}};
    const std::string umlaut = "\xC3\xA4-\xF0\x9F\x98\x80";
    auto keyMessage = [&](const char* event) {
        return json{{"event", event},
                    {"action", "com.korvex.powerpoint.next"},
                    {"context", "ctx"},
                    {"device", "dev"},
                    {"payload", payload}};
    };
    const std::vector<std::string> keyArguments{"com.korvex.powerpoint.next", "ctx", "dev"};
    // Settings and the property inspector take no device, though the message names one.
    const std::vector<std::string> actionAndContext{"com.korvex.powerpoint.next", "ctx"};
    const std::vector<DispatchCase> cases{
        {"keyDown", keyMessage("keyDown"), {"OnKeyDown", keyArguments, payload}},
        {"keyUp", keyMessage("keyUp"), {"OnKeyUp", keyArguments, payload}},
        {"willAppear", keyMessage("willAppear"), {"OnWillAppear", keyArguments, payload}},
        {"willDisappear", keyMessage("willDisappear"), {"OnWillDisappear", keyArguments, payload}},
        {"sendToPlugin", keyMessage("sendToPlugin"), {"OnSendToPlugin", keyArguments, payload}},
        {"keyDown with event only",
         json{{"event", "keyDown"}},
         {"OnKeyDown", {"", "", ""}, nullptr}},
        {"payload a string",
         json{{"event", "keyDown"}, {"context", "c"}, {"payload", "text"}},
         {"OnKeyDown", {"", "c", ""}, nullptr}},
        {"payload an array",
         json{{"event", "keyUp"}, {"payload", json::array({1})}},
         {"OnKeyUp", {"", "", ""}, nullptr}},
        {"members of other types read as empty",
         json{{"event", "keyDown"}, {"action", 5}, {"context", nullptr}, {"device", {{"id", 1}}}},
         {"OnKeyDown", {"", "", ""}, nullptr}},
        {"non-ASCII context unchanged",
         json{{"event", "keyDown"}, {"context", umlaut}},
         {"OnKeyDown", {"", umlaut, ""}, nullptr}},
        {"deviceDidConnect",
         json{{"event", "deviceDidConnect"}, {"device", "dev"}, {"deviceInfo", info}},
         {"OnDeviceDidConnect", {"dev"}, info}},
        {"deviceInfo inside payload is not read",
         json{
             {"event", "deviceDidConnect"}, {"device", "dev"}, {"payload", {{"deviceInfo", info}}}},
         {"OnDeviceDidConnect", {"dev"}, nullptr}},
        {"deviceDidDisconnect",
         json{{"event", "deviceDidDisconnect"}, {"device", "dev"}},
         {"OnDeviceDidDisconnect", {"dev"}, nullptr}},
        {"didReceiveSettings",
         keyMessage("didReceiveSettings"),
         {"OnDidReceiveSettings", actionAndContext, settings}},
        {"didReceiveSettings without settings",
         json{{"event", "didReceiveSettings"},
              {"action", "a"},
              {"context", "c"},
              {"payload", json::object()}},
         {"OnDidReceiveSettings", {"a", "c"}, nullptr}},
        {"settings at top level is not read",
         json{{"event", "didReceiveSettings"}, {"context", "c"}, {"settings", settings}},
         {"OnDidReceiveSettings", {"", "c"}, nullptr}},
        {"didReceiveGlobalSettings",
         json{{"event", "didReceiveGlobalSettings"}, {"payload", {{"settings", info}}}},
         {"OnDidReceiveGlobalSettings", {}, info}},
        {"propertyInspectorDidAppear",
         keyMessage("propertyInspectorDidAppear"),
         {"OnPropertyInspectorDidAppear", actionAndContext, nullptr}},
    };
    StartConnected();
    std::size_t expectedCount = 1;
    for (const DispatchCase& c : cases) {
        ASSERT_TRUE(host->SendText(c.message.dump())) << c.name;
        ++expectedCount;
        ASSERT_TRUE(plugin.WaitForCalls(expectedCount)) << c.name;
        const std::vector<Call> calls = plugin.Calls();
        ASSERT_EQ(calls.size(), expectedCount) << c.name;
        EXPECT_EQ(calls.back(), c.expected) << c.name;
    }
}

TEST_F(ConnectionManagerTest, Dispatch_IgnoresFramesThatAreNoKnownEvent) {
    const std::vector<std::pair<const char*, std::string>> ignoredTexts{
        {"letter case differs", R"({"event":"KeyDown"})"},
        {"all lower case", R"({"event":"keydown"})"},
        {"trailing space", R"({"event":"keyDown "})"},
        {"embedded NUL", std::string("{\"event\":\"keyDown\\u0000\"}")},
        {"empty event", R"({"event":""})"},
        {"event not a string", R"({"event":1})"},
        {"no event", R"({"context":"c"})"},
        {"registration echoed", kRegistration},
        {"JSON array", R"([{"event":"keyDown"}])"},
        {"bare event name", R"("keyDown")"},
        {"not JSON", "keyDown"},
        {"trailing text", R"({"event":"keyDown"} x)"},
        {"empty text", ""},
    };
    StartConnected();
    for (const auto& [name, text] : ignoredTexts) {
        ExpectIgnored(name, [this, text = text] { ASSERT_TRUE(host->SendText(text)); });
    }
    ExpectIgnored("binary frame",
                  [this] { ASSERT_TRUE(host->SendBinary(R"({"event":"keyDown"})")); });
}

TEST_F(ConnectionManagerTest, Dispatch_ThrowingOperationDoesNotStopNextMessage) {
    plugin.onCall = [](const Call& call) {
        if (call.operation == "OnKeyDown") {
            throw std::runtime_error("plug-in failure");
        }
        if (call.operation == "OnKeyUp") {
            throw 42;  // not even a std::exception
        }
    };
    StartConnected();
    ASSERT_TRUE(host->SendText(R"({"event":"keyDown"})"));
    ASSERT_TRUE(host->SendText(R"({"event":"keyUp"})"));
    ASSERT_TRUE(host->SendText(R"({"event":"deviceDidDisconnect","device":"next"})"));
    ASSERT_TRUE(plugin.WaitForCalls(4));
    const std::vector<Call> calls = plugin.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1].operation, "OnKeyDown");
    EXPECT_EQ(calls[2].operation, "OnKeyUp");
    EXPECT_EQ(calls[3], (Call{"OnDeviceDidDisconnect", {"next"}, nullptr}));
}

TEST_F(ConnectionManagerTest, Commands_FromTwoThreadsArriveWholeAndInOrder) {
    constexpr int kPerThread = 300;
    const std::string longTitle(2000, 'x');  // spans several TCP writes if interleaved
    plugin.onCall = [&](const Call& call) {
        if (call.operation == "OnKeyDown") {
            for (int i = 0; i < kPerThread; ++i) {
                manager->SetTitle(std::to_string(i) + longTitle, "network");
            }
        }
    };
    StartConnected();
    std::thread refresh([this] {
        for (int i = 0; i < kPerThread; ++i) {
            manager->SetState(i, "refresh");
        }
    });
    ASSERT_TRUE(host->SendText(R"({"event":"keyDown"})"));
    refresh.join();
    ASSERT_TRUE(host->WaitForFrame(2 * kPerThread).has_value());

    int nextTitle = 0;
    int nextState = 0;
    const std::vector<ReceivedFrame> frames = host->Frames();
    for (std::size_t i = 1; i < frames.size(); ++i) {
        ASSERT_TRUE(frames[i].isText);
        const json message = json::parse(frames[i].text);  // throws on a torn frame
        if (message.at("context") == "network") {
            EXPECT_EQ(message.at("payload").at("title"), std::to_string(nextTitle++) + longTitle);
        } else {
            EXPECT_EQ(message.at("payload").at("state"), nextState++);
        }
    }
    EXPECT_EQ(nextTitle, kPerThread);
    EXPECT_EQ(nextState, kPerThread);
}

TEST_F(ConnectionManagerTest, Command_WithInvalidUtf8ThrowsToCallerAndSendsNothing) {
    StartConnected();
    std::thread refresh([this] {
        EXPECT_THROW(manager->SetTitle("bad \xFF", "c"), json::type_error);
        EXPECT_THROW(manager->ShowAlert("\xC3"), json::type_error);
        EXPECT_THROW(manager->SetState(0, "\xE2\x82"), json::type_error);
        EXPECT_THROW(manager->SendToPropertyInspector("a", "c", json{{"p", "\x80"}}),
                     json::type_error);
        manager->ShowAlert("good");
    });
    refresh.join();
    ASSERT_TRUE(host->WaitForFrame(1).has_value());
    const std::vector<ReceivedFrame> frames = host->Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].text, R"({"context":"good","event":"showAlert"})");
}

TEST_F(ConnectionManagerTest, Run_ReturnsWhenHostCloses) {
    StartConnected();
    host->Close();
    EXPECT_TRUE(RunReturns());
    EXPECT_NO_THROW(manager->ShowAlert("after close"));  // dropped, no connection
}

// The link ends, by a closing handshake or by the host's socket going away, while another
// thread is in the middle of sending, again and again; under ThreadSanitizer this is the race
// detector's test of the link's end.
TEST_F(ConnectionManagerTest, LinkEndingWhileAnotherThreadSends_EndsRunEveryTime) {
    constexpr int kDrops = 24;
    for (int drop = 0; drop < kDrops; ++drop) {
        host = std::make_unique<LoopbackHost>();
        StartConnected();
        std::atomic<bool> sending{true};
        std::thread refresh([this, &sending] {
            while (sending) {
                manager->SetState(1, "refresh");
            }
        });
        ASSERT_TRUE(host->WaitForFrame(1).has_value()) << drop;  // sends are going out
        if (drop % 2 == 0) {
            host->Close();
        } else {
            host.reset();
        }
        EXPECT_TRUE(RunReturns()) << drop;
        sending = false;
        refresh.join();
    }
    host = std::make_unique<LoopbackHost>();
}

TEST_F(ConnectionManagerTest, Registration_InvalidUtf8ClosesLinkWithoutSending) {
    const std::vector<std::pair<std::string, std::string>> badPairs{
        {"UUID-\xFF", "registerPlugin"},
        {"UUID-1", "register\xC3"},
    };
    for (const auto& [uuid, event] : badPairs) {
        host = std::make_unique<LoopbackHost>();
        Start(host->Port(), uuid, event);
        EXPECT_TRUE(host->WaitForDisconnection());
        EXPECT_TRUE(RunReturns());
        EXPECT_EQ(host->ConnectionCount(), 1);
        EXPECT_TRUE(host->Frames().empty());
        EXPECT_TRUE(plugin.Calls().empty());  // OnConnected is not called
    }
}

TEST_F(ConnectionManagerTest, Run_ReturnsWithoutConnectingForInvalidPort) {
    for (int port : {-1, 0, 65536, 70000}) {
        Start(port);
        EXPECT_TRUE(RunReturns()) << port;
    }
    EXPECT_EQ(host->ConnectionCount(), 0);
    EXPECT_TRUE(plugin.Calls().empty());
}

TEST_F(ConnectionManagerTest, Run_ReturnsAfterOneFailedAttemptWhenNobodyListens) {
    int freedPort = 0;
    {
        LoopbackHost closedHost;
        freedPort = closedHost.Port();
    }
    Start(freedPort);
    EXPECT_TRUE(RunReturns());
    EXPECT_TRUE(plugin.Calls().empty());
}

}  // namespace

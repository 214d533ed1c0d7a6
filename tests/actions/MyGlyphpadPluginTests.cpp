// The action plug-in's threads: key bookkeeping on the network thread against the refresh on
// the timer thread, exceptions on the timer thread, and destruction with work in flight. The
// plug-in runs behind the real connection manager, with the in-process test host as the host
// application and the simulated PowerPoint behind the worker. Behaviour of the keys as such is
// covered end to end (tests/e2e/test_actions.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "actions/ActionIdentifiers.h"
#include "actions/MyGlyphpadPlugin.h"
#include "host/KGPConnectionManager.h"
#include "hostpeer/LoopbackHost.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

const std::string kLoad(ActionIdentifiers::Load);
const std::string kPlay(ActionIdentifiers::Play);

const char* const kQ3Open = R"({
  "files": {"C:\\Talks\\Q3 review.pptx": 12},
  "open": ["C:\\Talks\\Q3 review.pptx"]
})";

nlohmann::json Parsed(const ReceivedFrame& frame) {
    return nlohmann::json::parse(frame.text, nullptr, false);
}

nlohmann::json SetTitleCommand(const std::string& context, const std::string& title) {
    return {{"context", context},
            {"event", "setTitle"},
            {"payload", {{"target", 0}, {"title", title}}}};
}

nlohmann::json SetStateCommand(const std::string& context, int state) {
    return {{"context", context}, {"event", "setState"}, {"payload", {{"state", state}}}};
}

// Short, so that the tests that wait for timer refreshes wait little.
constexpr int kTestRefreshIntervalMs = 100;
constexpr int kLongPressBeyondTheTestMs = 10 * 60 * 1000;

// The plug-in connected to an in-process host, as start-up connects it.
class PluginLink {
public:
    explicit PluginLink(int refreshIntervalMs = kTestRefreshIntervalMs,
                        int longPressMs = MyGlyphpadPlugin::LongPressMs)
        : plugin(std::make_unique<MyGlyphpadPlugin>(refreshIntervalMs, longPressMs)),
          manager(std::make_unique<KGPConnectionManager>(host.Port(), "uuid", "registerPlugin",
                                                         plugin.get())) {
        network = std::thread([this] { manager->Run(); });
        registered = host.WaitForFrame(0).has_value();
    }
    ~PluginLink() {
        Disconnect();
        // The plug-in's threads send through the manager, so the plug-in goes first.
        plugin.reset();
    }
    PluginLink(const PluginLink&) = delete;
    PluginLink& operator=(const PluginLink&) = delete;

    void Disconnect() {
        if (network.joinable()) {
            host.Close();
            network.join();
        }
    }

    void Send(const std::string& event, const std::string& action, const std::string& context,
              const nlohmann::json& payload = nlohmann::json::object()) {
        host.SendText(nlohmann::json{
            {"event", event},
            {"action", action},
            {"context", context},
            {"device", "dev"},
            {"payload",
             payload}}.dump());
    }
    void Appear(const std::string& context, const std::string& action) {
        Send("willAppear", action, context);
    }
    void Disappear(const std::string& context) { Send("willDisappear", "", context); }

    // Events are handled one at a time in arrival order: once the probe's answer is here,
    // everything sent before it has been handled. Returns the answer's index, if it came.
    std::optional<std::size_t> Probe() {
        const std::string context = "probe-" + std::to_string(++probes);
        Send("didReceiveSettings", kLoad, context, {{"settings", nlohmann::json::object()}});
        const std::size_t before = host.Frames().size();
        const nlohmann::json answer = SetStateCommand(context, 0);
        if (!host.WaitForFrameMatching(
                [&answer](const ReceivedFrame& f) { return Parsed(f) == answer; })) {
            return std::nullopt;
        }
        const std::vector<ReceivedFrame> frames = host.Frames();
        for (std::size_t i = before > 0 ? before - 1 : 0; i < frames.size(); ++i) {
            if (Parsed(frames[i]) == answer) {
                return i;
            }
        }
        return std::nullopt;
    }

    LoopbackHost host;
    std::unique_ptr<MyGlyphpadPlugin> plugin;
    std::unique_ptr<KGPConnectionManager> manager;
    std::thread network;
    bool registered = false;
    int probes = 0;
};

std::size_t CountTitlesFor(const std::vector<ReceivedFrame>& frames, std::size_t from,
                           const std::string& context) {
    return static_cast<std::size_t>(
        std::count_if(frames.begin() + static_cast<std::ptrdiff_t>(from), frames.end(),
                      [&context](const ReceivedFrame& f) {
                          const nlohmann::json message = Parsed(f);
                          return message.value("event", "") == "setTitle" &&
                                 message.value("context", "") == context;
                      }));
}

std::size_t CountTraceLines(const std::string& line) {
    const std::vector<std::string> trace = pptsim::SimulationTrace();
    return static_cast<std::size_t>(std::count(trace.begin(), trace.end(), line));
}

class MyGlyphpadPluginThreads : public SimulationTest {};

// Run under ThreadSanitizer this shows that willAppear/willDisappear never touch the visible
// keys while a timer refresh walks them; in any build, the keys end up exactly as announced.
TEST_F(MyGlyphpadPluginThreads, VisibleKeysChangedDuringTimerRefreshes_EndUpExactlyAsAnnounced) {
    UseScenario(kQ3Open);
    PluginLink link;
    ASSERT_TRUE(link.registered);
    link.Appear("anchor", kPlay);
    // Only timer refreshes send titles here, one per refresh to the anchor key.
    const std::size_t start = link.host.Frames().size();
    int round = 0;
    while (CountTitlesFor(link.host.Frames(), start, "anchor") < 2) {
        for (int i = 0; i < 20; ++i, ++round) {
            link.Appear("key-" + std::to_string(round % 40), round % 2 == 0 ? kPlay : kLoad);
            link.Disappear("key-" + std::to_string((round + 20) % 40));
        }
        ASSERT_TRUE(link.Probe().has_value()) << "the link stopped answering";
    }
    for (int i = 0; i < 40; ++i) {
        link.Disappear("key-" + std::to_string(i));
    }
    link.Appear("keep-play", kPlay);
    link.Appear("keep-load", kLoad);

    // A load key pressed without a file alerts and then refreshes on the network thread: the
    // refresh's frames follow the alert as one block.
    const std::size_t beforePress = link.host.Frames().size();
    link.Send("keyDown", kLoad, "press", {{"settings", nlohmann::json::object()}});
    const nlohmann::json alert = {{"context", "press"}, {"event", "showAlert"}};
    ASSERT_TRUE(link.host.WaitForFrameMatching(
        [&alert](const ReceivedFrame& f) { return Parsed(f) == alert; }));
    std::vector<ReceivedFrame> frames = link.host.Frames();
    const auto alertAt =
        std::find_if(frames.begin() + static_cast<std::ptrdiff_t>(beforePress), frames.end(),
                     [&alert](const ReceivedFrame& f) { return Parsed(f) == alert; });
    const std::size_t first = static_cast<std::size_t>(alertAt - frames.begin()) + 1;
    ASSERT_TRUE(link.host.WaitForFrame(first + 4).has_value());
    frames = link.host.Frames();
    std::vector<nlohmann::json> refresh;
    for (std::size_t i = first; i < first + 5; ++i) {
        refresh.push_back(Parsed(frames[i]));
    }
    std::vector<nlohmann::json> expected = {
        SetTitleCommand("anchor", "Q3 review"),
        SetStateCommand("anchor", 1),
        SetTitleCommand("keep-play", "Q3 review"),
        SetStateCommand("keep-play", 1),
        {{"action", kLoad},
         {"context", "keep-load"},
         {"event", "sendToPropertyInspector"},
         {"payload", {{"presentations", {"C:/Talks/Q3 review.pptx"}}}}}};
    std::sort(refresh.begin(), refresh.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(refresh, expected);
}

// A context that is not UTF-8 cannot be serialised, so sending its title throws on the timer
// thread. The host never delivers such a context; it stands in for anything that might throw
// there, which would otherwise end the process.
TEST_F(MyGlyphpadPluginThreads, ExceptionInTimerRefresh_IsDroppedAndRefreshesGoOn) {
    UseScenario(kQ3Open);
    PluginLink link;
    ASSERT_TRUE(link.registered);
    const std::string refreshStep = "get Application.ActivePresentation";
    // Under the plug-in's lock, so every refresh counted from here on walks the bad key.
    link.plugin->OnWillAppear(kPlay, "\xff", nlohmann::json(), "dev");
    const std::size_t before = CountTraceLines(refreshStep);
    // Two refreshes begun after the key appeared: the first of them walked the bad key, and
    // the second shows the timer thread lived on.
    ASSERT_TRUE(Eventually([&] { return CountTraceLines(refreshStep) >= before + 2; }));
}

TEST_F(MyGlyphpadPluginThreads, Destruction_WithLongPressArmedAndSlowRefresh_ClosesNothing) {
    UseScenario(R"({"files": {"C:\\Talks\\Q3 review.pptx": 12},
                    "open": ["C:\\Talks\\Q3 review.pptx"], "delayMs": 20})");
    {
        // At the product's interval: refreshes slowed down this much would otherwise hold the
        // press back for longer than the long press. The long press is far longer than the
        // test, so it is still armed whenever destruction comes.
        PluginLink link(MyGlyphpadPlugin::RefreshIntervalMs, kLongPressBeyondTheTestMs);
        ASSERT_TRUE(link.registered);
        link.Appear("P1", kPlay);
        link.Send("keyDown", kPlay, "P1");
        ASSERT_TRUE(link.Probe().has_value());
        // A refresh has reached the slowed PowerPoint before destruction begins.
        ASSERT_TRUE(Eventually([] { return !pptsim::SimulationTrace().empty(); }));
        link.Disconnect();
    }
    // Destruction stopped the armed long press for good, without firing it.
    for (const std::string& line : pptsim::SimulationTrace()) {
        EXPECT_EQ(line.rfind("close ", 0), std::string::npos) << line;
    }
    EXPECT_EQ(pptsim::ReadSimulationState().open.size(), 1U);
}

// The way out once the host link has closed: PowerPoint is released while the timers still run,
// and what they or a late event ask of the worker fails at once instead of waiting.
TEST_F(MyGlyphpadPluginThreads, StopAutomation_ReleasesPowerPointAndLaterPressesAlertAtOnce) {
    UseScenario(kQ3Open);
    PluginLink link;
    ASSERT_TRUE(link.registered);
    link.Appear("P1", kPlay);
    ASSERT_TRUE(Eventually([] { return pptsim::LiveSimulationObjects() > 0; }));
    link.plugin->StopAutomation();
    EXPECT_EQ(pptsim::LiveSimulationObjects(), 0);
    const std::size_t before = link.host.Frames().size();
    link.Send("keyDown", std::string(ActionIdentifiers::Next), "K");
    const std::optional<std::size_t> end = link.Probe();
    ASSERT_TRUE(end.has_value());
    const std::vector<ReceivedFrame> frames = link.host.Frames();
    const nlohmann::json alert = {{"context", "K"}, {"event", "showAlert"}};
    EXPECT_TRUE(std::any_of(frames.begin() + static_cast<std::ptrdiff_t>(before),
                            frames.begin() + static_cast<std::ptrdiff_t>(*end),
                            [&alert](const ReceivedFrame& f) { return Parsed(f) == alert; }));
    // Refreshes go on, but read nothing: the keys keep what they show (a refresh that took the
    // unread as "nothing open" would blank the play key within a few intervals).
    EXPECT_FALSE(
        link.host
            .WaitForFrameMatching(
                [](const ReceivedFrame& f) { return Parsed(f) == SetTitleCommand("P1", ""); },
                std::chrono::milliseconds(5 * kTestRefreshIntervalMs))
            .has_value());
}

}  // namespace

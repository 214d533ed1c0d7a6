// Fuzzes the inbound path: one text frame parsed and dispatched into a plug-in that records
// its calls, exactly as the connection manager does for every frame. Checked against a
// separate reading of the same text: a frame whose JSON is an object naming a known event
// makes exactly one call, with the members the event table names; anything else, including a
// frame nested too deeply to copy safely, makes none; only the unreadable frames are reported
// dropped; and nothing but the plug-in's own exception leaves it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fuzz/FuzzCheck.h"
#include "host/HostEvents.h"
#include "tests/host/RecordingPlugin.h"

namespace {

struct PluginFailure {};

using Call = RecordingPlugin::Call;

std::string StringOrEmpty(const nlohmann::json& object, const char* name) {
    const auto member = object.find(name);
    return member != object.end() && member->is_string() ? member->get<std::string>() : "";
}

nlohmann::json ObjectOrNull(const nlohmann::json& value, const char* name) {
    if (!value.is_object()) {
        return nullptr;
    }
    const auto member = value.find(name);
    return member != value.end() && member->is_object() ? *member : nlohmann::json();
}

// What the event table says the frame must cause; no call when the event is unknown.
std::vector<Call> ExpectedCalls(const nlohmann::json& message) {
    const std::string event = StringOrEmpty(message, "event");
    const std::string action = StringOrEmpty(message, "action");
    const std::string context = StringOrEmpty(message, "context");
    const std::string device = StringOrEmpty(message, "device");
    const nlohmann::json payload = ObjectOrNull(message, "payload");
    static const char* const withPayload[] = {"keyDown", "keyUp", "willAppear", "willDisappear",
                                              "sendToPlugin"};
    for (const char* name : withPayload) {
        if (event == name) {
            std::string operation = std::string("On") + name;
            operation[2] = static_cast<char>(operation[2] - 'a' + 'A');
            return {{operation, {action, context, device}, payload}};
        }
    }
    if (event == "deviceDidConnect") {
        return {{"OnDeviceDidConnect", {device}, ObjectOrNull(message, "deviceInfo")}};
    }
    if (event == "deviceDidDisconnect") {
        return {{"OnDeviceDidDisconnect", {device}, nullptr}};
    }
    if (event == "didReceiveSettings") {
        return {{"OnDidReceiveSettings", {action, context}, ObjectOrNull(payload, "settings")}};
    }
    if (event == "didReceiveGlobalSettings") {
        return {{"OnDidReceiveGlobalSettings", {}, ObjectOrNull(payload, "settings")}};
    }
    if (event == "propertyInspectorDidAppear") {
        return {{"OnPropertyInspectorDidAppear", {action, context}, nullptr}};
    }
    return {};
}

// Frames whose values or keys sit inside more than this many containers are dropped whole,
// since copying them recursively could exhaust the network thread's stack.
constexpr std::size_t kDeepestMessage = 512;

// Measures nesting with the library's event parser, which builds no values.
class NestingMeter : public nlohmann::json_sax<nlohmann::json> {
public:
    bool tooDeep = false;

    bool null() override { return Element(); }
    bool boolean(bool) override { return Element(); }
    bool number_integer(number_integer_t) override { return Element(); }
    bool number_unsigned(number_unsigned_t) override { return Element(); }
    bool number_float(number_float_t, const string_t&) override { return Element(); }
    bool string(string_t&) override { return Element(); }
    bool binary(binary_t&) override { return Element(); }
    bool start_object(std::size_t) override { return Open(); }
    bool key(string_t&) override { return Element(); }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    bool Element() {
        tooDeep = tooDeep || open > kDeepestMessage;
        return true;
    }
    bool Open() {
        Element();
        ++open;
        return true;
    }
    bool Close() {
        --open;
        return true;
    }

    std::size_t open = 0;
};

// Whether the text is one strict JSON value nested no deeper than the bound. The event parser
// builds no values, so text that does not parse, most of what the fuzzer makes, costs no
// tree here.
bool Readable(const std::string& text) {
    NestingMeter meter;
    return nlohmann::json::sax_parse(text, &meter) && !meter.tooDeep;
}

// Dispatches as the connection manager's message handler does; true when the frame was dropped
// unread. Only the plug-in's own exception may leave the dispatcher.
bool Dispatch(RecordingPlugin& plugin, const std::string& text, bool pluginThrows) {
    try {
        return !DispatchHostMessage(plugin, text);
    } catch (const PluginFailure&) {
        FUZZ_REQUIRE(pluginThrows);
    }
    return false;
}

// One dispatch into a plug-in that throws from its operations or not; true when it made calls.
bool CheckDispatch(const std::string& text, const nlohmann::json& parsed, bool refused,
                   bool throws) {
    RecordingPlugin plugin;
    if (throws) {
        plugin.onCall = [](const Call&) { throw PluginFailure{}; };
    }
    const bool dropped = Dispatch(plugin, text, throws);
    FUZZ_REQUIRE(dropped == refused);
    const std::vector<Call> calls = plugin.Calls();
    if (dropped || !parsed.is_object()) {
        FUZZ_REQUIRE(calls.empty());
        return false;
    }
    FUZZ_REQUIRE(calls == ExpectedCalls(parsed));
    return !calls.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool refused = !Readable(text);
    const nlohmann::json parsed = refused ? nlohmann::json() : nlohmann::json::parse(text);
    // Dispatching depends on the text alone: a frame that makes no call never reaches the
    // throwing operations, so only frames that make one are dispatched again with them.
    if (CheckDispatch(text, parsed, refused, false)) {
        CheckDispatch(text, parsed, refused, true);
    }
    return 0;
}

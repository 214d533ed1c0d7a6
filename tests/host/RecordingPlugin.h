#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/KGPBasePlugin.h"

// A plug-in that records every operation the connection manager calls, with its arguments in
// call order, so tests can compare whole calls. An optional hook runs inside each operation.
class RecordingPlugin : public KGPBasePlugin {
public:
    struct Call {
        std::string operation;
        std::vector<std::string> strings;  // action/context/device arguments, in argument order
        nlohmann::json value;              // payload, deviceInfo or settings; null if none
        bool operator==(const Call& other) const {
            return operation == other.operation && strings == other.strings && value == other.value;
        }
    };

    std::function<void(const Call&)> onCall;

    std::vector<Call> Calls() const {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }

    bool WaitForCalls(std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, timeout, [&] { return calls.size() >= count; });
    }

    void OnConnected() override { Record({"OnConnected", {}, nullptr}); }
    void OnKeyDown(const std::string& action, const std::string& context,
                   const nlohmann::json& payload, const std::string& device) override {
        Record({"OnKeyDown", {action, context, device}, payload});
    }
    void OnKeyUp(const std::string& action, const std::string& context,
                 const nlohmann::json& payload, const std::string& device) override {
        Record({"OnKeyUp", {action, context, device}, payload});
    }
    void OnWillAppear(const std::string& action, const std::string& context,
                      const nlohmann::json& payload, const std::string& device) override {
        Record({"OnWillAppear", {action, context, device}, payload});
    }
    void OnWillDisappear(const std::string& action, const std::string& context,
                         const nlohmann::json& payload, const std::string& device) override {
        Record({"OnWillDisappear", {action, context, device}, payload});
    }
    void OnDeviceDidConnect(const std::string& device, const nlohmann::json& deviceInfo) override {
        Record({"OnDeviceDidConnect", {device}, deviceInfo});
    }
    void OnDeviceDidDisconnect(const std::string& device) override {
        Record({"OnDeviceDidDisconnect", {device}, nullptr});
    }
    void OnSendToPlugin(const std::string& action, const std::string& context,
                        const nlohmann::json& payload, const std::string& device) override {
        Record({"OnSendToPlugin", {action, context, device}, payload});
    }
    void OnDidReceiveSettings(const std::string& action, const std::string& context,
                              const nlohmann::json& settings) override {
        Record({"OnDidReceiveSettings", {action, context}, settings});
    }
    void OnDidReceiveGlobalSettings(const nlohmann::json& settings) override {
        Record({"OnDidReceiveGlobalSettings", {}, settings});
    }
    void OnPropertyInspectorDidAppear(const std::string& action,
                                      const std::string& context) override {
        Record({"OnPropertyInspectorDidAppear", {action, context}, nullptr});
    }

private:
    void Record(const Call& call) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            calls.push_back(call);
            changed.notify_all();
        }
        if (onCall) {
            onCall(call);
        }
    }

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<Call> calls;
};

inline void PrintTo(const RecordingPlugin::Call& call, std::ostream* os) {
    *os << call.operation << "(";
    for (const std::string& text : call.strings) {
        *os << '"' << text << "\", ";
    }
    *os << call.value.dump() << ")";
}

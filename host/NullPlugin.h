#pragma once

#include "host/KGPBasePlugin.h"

// A plug-in that does nothing with any event: it keeps the link running until the action
// plug-in takes its place in main.
class NullPlugin final : public KGPBasePlugin {
public:
    void OnConnected() override {}
    void OnKeyDown(const std::string&, const std::string&, const nlohmann::json&,
                   const std::string&) override {}
    void OnKeyUp(const std::string&, const std::string&, const nlohmann::json&,
                 const std::string&) override {}
    void OnWillAppear(const std::string&, const std::string&, const nlohmann::json&,
                      const std::string&) override {}
    void OnWillDisappear(const std::string&, const std::string&, const nlohmann::json&,
                         const std::string&) override {}
    void OnDeviceDidConnect(const std::string&, const nlohmann::json&) override {}
    void OnDeviceDidDisconnect(const std::string&) override {}
    void OnSendToPlugin(const std::string&, const std::string&, const nlohmann::json&,
                        const std::string&) override {}
    void OnDidReceiveSettings(const std::string&, const std::string&,
                              const nlohmann::json&) override {}
    void OnDidReceiveGlobalSettings(const nlohmann::json&) override {}
    void OnPropertyInspectorDidAppear(const std::string&, const std::string&) override {}
};

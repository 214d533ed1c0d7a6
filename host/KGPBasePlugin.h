#pragma once

#include <string>

#include <nlohmann/json.hpp>

class KGPConnectionManager;

// The interface through which the host link hands every host event to the plug-in's logic.
// Every operation runs on the network thread, one at a time; the references it receives are
// valid only for the duration of the call.
class KGPBasePlugin {
public:
    KGPBasePlugin() = default;
    KGPBasePlugin(const KGPBasePlugin&) = delete;
    KGPBasePlugin& operator=(const KGPBasePlugin&) = delete;
    virtual ~KGPBasePlugin();

    virtual void OnConnected() = 0;
    virtual void OnKeyDown(const std::string& action, const std::string& context,
                           const nlohmann::json& payload, const std::string& device) = 0;
    virtual void OnKeyUp(const std::string& action, const std::string& context,
                         const nlohmann::json& payload, const std::string& device) = 0;
    virtual void OnWillAppear(const std::string& action, const std::string& context,
                              const nlohmann::json& payload, const std::string& device) = 0;
    virtual void OnWillDisappear(const std::string& action, const std::string& context,
                                 const nlohmann::json& payload, const std::string& device) = 0;
    virtual void OnDeviceDidConnect(const std::string& device,
                                    const nlohmann::json& deviceInfo) = 0;
    virtual void OnDeviceDidDisconnect(const std::string& device) = 0;
    virtual void OnSendToPlugin(const std::string& action, const std::string& context,
                                const nlohmann::json& payload, const std::string& device) = 0;
    virtual void OnDidReceiveSettings(const std::string& action, const std::string& context,
                                      const nlohmann::json& settings) = 0;
    virtual void OnDidReceiveGlobalSettings(const nlohmann::json& settings) = 0;
    virtual void OnPropertyInspectorDidAppear(const std::string& action,
                                              const std::string& context) = 0;

protected:
    // Set once by the connection manager's constructor; the plug-in sends its commands here.
    KGPConnectionManager* connectionManager = nullptr;

private:
    friend class KGPConnectionManager;
};

#pragma once

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "host/KGPBasePlugin.h"

// Owns the one WebSocket link to the host application: connects, registers, hands every event
// to the plug-in and sends the plug-in's commands. The WebSocket library stays behind
// `Endpoint` so that users of this header do not compile it.
class KGPConnectionManager {
public:
    KGPConnectionManager(int port, const std::string& pluginUUID, const std::string& registerEvent,
                         KGPBasePlugin* plugin);
    KGPConnectionManager(const KGPConnectionManager&) = delete;
    KGPConnectionManager& operator=(const KGPConnectionManager&) = delete;
    ~KGPConnectionManager();

    // Holds the calling thread until the link has ended or could not be set up.
    void Run();

    // The commands may be called from any thread. A command that cannot be sent (no open link,
    // or a host that has left too much unread) is dropped; one whose strings are not valid UTF-8
    // throws the JSON library's type error.
    void SetTitle(const std::string& title, const std::string& context);
    void ShowAlert(const std::string& context);
    void SetState(int state, const std::string& context);
    void SendToPropertyInspector(const std::string& action, const std::string& context,
                                 const nlohmann::json& payload);

private:
    struct Endpoint;
    // The library's connection handle is a weak pointer to an opaque connection.
    using ConnectionHandle = std::weak_ptr<void>;

    void OnOpen(const ConnectionHandle& connection);
    void OnFail(const ConnectionHandle& connection);
    void OnClose(const ConnectionHandle& connection);
    void OnMessage(const ConnectionHandle& connection, bool isTextFrame,
                   const std::string& payload);
    void SendText(const std::string& text);

    int port;
    std::string pluginUUID;
    std::string registerEvent;
    // Holds the connection handle and the library's client endpoint.
    std::unique_ptr<Endpoint> endpoint;
    KGPBasePlugin* plugin;
};

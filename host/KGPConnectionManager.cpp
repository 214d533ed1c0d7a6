#include "host/KGPConnectionManager.h"

#include <websocketpp/client.hpp>

#include "host/HostCommands.h"
#include "host/HostEvents.h"
#include "host/HostLinkConfig.h"
#include "host/SendGate.h"

namespace {

using WebSocketClient = websocketpp::client<HostLinkConfig>;

// The memory the plug-in spends at most on frames for a host that does not read (one frame more
// may pass): several refreshes of many keys, far more than a host that reads leaves waiting.
constexpr std::size_t kHeldForHostCap = std::size_t{4} << 20;

std::string HostUri(int port) {
    return "ws://127.0.0.1:" + std::to_string(port);
}

}  // namespace

struct KGPConnectionManager::Endpoint {
    Endpoint()
        : gate(
              kHeldForHostCap, [this] { return BytesHeldForHost(); },
              [this] {
                  websocketpp::lib::asio::post(client.get_io_service(),
                                               [this] { gate.Remeasure(); });
              }) {}

    std::size_t BytesHeldForHost() {
        websocketpp::lib::error_code error;
        const WebSocketClient::connection_ptr connection =
            client.get_con_from_hdl(connectionHandle, error);
        return error ? 0 : connection->get_buffered_amount();
    }

    // Written once in Run before the connection attempt starts; only read afterwards.
    websocketpp::connection_hdl connectionHandle;
    WebSocketClient client;
    // Every send passes through it.
    SendGate gate;
};

KGPConnectionManager::KGPConnectionManager(int port, const std::string& pluginUUID,
                                           const std::string& registerEvent, KGPBasePlugin* plugin)
    : port(port),
      pluginUUID(pluginUUID),
      registerEvent(registerEvent),
      endpoint(std::make_unique<Endpoint>()),
      plugin(plugin) {
    plugin->connectionManager = this;
}

KGPConnectionManager::~KGPConnectionManager() = default;

void KGPConnectionManager::Run() {
    try {
        WebSocketClient& client = endpoint->client;
        client.clear_access_channels(websocketpp::log::alevel::all);
        client.clear_error_channels(websocketpp::log::elevel::all);
        client.init_asio();
        // Every command burst must leave at once. Asio writes at most 16 buffers per call, two
        // per frame, so a refresh of more than 8 frames takes several writes, and with Nagle's
        // algorithm the second one waits for the host's delayed ACK (40 ms on Linux, up to
        // 200 ms on Windows). This handler runs once the TCP connection is open, before the
        // opening handshake; the socket-init handler would see a socket not yet open.
        client.set_tcp_pre_init_handler([&client](websocketpp::connection_hdl connection) {
            websocketpp::lib::error_code error;
            const WebSocketClient::connection_ptr open = client.get_con_from_hdl(connection, error);
            if (!error) {
                // A socket that refuses the option still works, only with the delay.
                asio::error_code ignored;
                open->get_socket().set_option(asio::ip::tcp::no_delay(true), ignored);
            }
        });

        client.set_open_handler(
            [this](websocketpp::connection_hdl connection) { OnOpen(connection); });
        client.set_fail_handler(
            [this](websocketpp::connection_hdl connection) { OnFail(connection); });
        client.set_close_handler(
            [this](websocketpp::connection_hdl connection) { OnClose(connection); });
        // A ping is answered only while the host reads what it is sent, under the same bound.
        client.set_ping_handler([this](websocketpp::connection_hdl, std::string payload) {
            return endpoint->gate.Admit(payload.size());
        });
        client.set_message_handler(
            [this](websocketpp::connection_hdl connection, WebSocketClient::message_ptr message) {
                OnMessage(connection, message->get_opcode() == websocketpp::frame::opcode::text,
                          message->get_payload());
            });

        websocketpp::lib::error_code error;
        const WebSocketClient::connection_ptr connection =
            client.get_connection(HostUri(port), error);
        if (error) {
            return;
        }
        endpoint->connectionHandle = connection->get_handle();
        endpoint->gate.BindNetworkThread();
        client.connect(connection);
        // Returns once nothing is left to do: the link has closed or the attempt has failed.
        client.run();
    } catch (const websocketpp::exception&) {
        // The link is over either way; the process ends when Run returns.
    }
}

void KGPConnectionManager::OnOpen(const ConnectionHandle& connection) {
    std::string registration;
    try {
        registration = SerializeRegistration(registerEvent, pluginUUID);
    } catch (const nlohmann::json::type_error&) {
        // A token or event name that is not UTF-8 cannot be sent, and an unregistered plug-in
        // would never receive an event: end the link so that the process exits.
        websocketpp::lib::error_code ignored;
        endpoint->client.close(connection, websocketpp::close::status::normal, "", ignored);
        return;
    }
    SendText(registration);
    plugin->OnConnected();
}

// Once the link is over nothing more is handed to the library: a send racing with its teardown
// would touch a connection that the network thread is taking down.
void KGPConnectionManager::OnFail(const ConnectionHandle&) {
    endpoint->gate.Close();
}

void KGPConnectionManager::OnClose(const ConnectionHandle&) {
    endpoint->gate.Close();
}

void KGPConnectionManager::OnMessage(const ConnectionHandle&, bool isTextFrame,
                                     const std::string& payload) {
    if (!isTextFrame) {
        return;
    }
    const std::string text = payload;
    try {
        // An unreadable frame is dropped without a call.
        DispatchHostMessage(*plugin, text);
    } catch (...) {
        // A failing plug-in operation costs one message, not the link.
    }
}

void KGPConnectionManager::SetTitle(const std::string& title, const std::string& context) {
    SendText(SerializeSetTitle(title, context));
}

void KGPConnectionManager::ShowAlert(const std::string& context) {
    SendText(SerializeShowAlert(context));
}

void KGPConnectionManager::SetState(int state, const std::string& context) {
    SendText(SerializeSetState(state, context));
}

void KGPConnectionManager::SendToPropertyInspector(const std::string& action,
                                                   const std::string& context,
                                                   const nlohmann::json& payload) {
    SendText(SerializeSendToPropertyInspector(action, context, payload));
}

void KGPConnectionManager::SendText(const std::string& text) {
    // The library's send is safe from any thread while the loop runs; it refuses a handle
    // without an open connection, and such a command is simply dropped, as is one the gate
    // refuses.
    endpoint->gate.Send(text.size(), [this, &text] {
        websocketpp::lib::error_code error;
        endpoint->client.send(endpoint->connectionHandle, text, websocketpp::frame::opcode::text,
                              error);
        return !error;
    });
}

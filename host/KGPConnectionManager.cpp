#include "host/KGPConnectionManager.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include <websocketpp/client.hpp>
#include <websocketpp/processors/hybi13.hpp>

#include "host/HostCommands.h"
#include "host/HostEvents.h"
#include "host/HostLinkConfig.h"
#include "host/SendGate.h"

namespace {

using WebSocketClient = websocketpp::client<HostLinkConfig>;
using Message = HostLinkConfig::message_type;
using Framer = websocketpp::processor::hybi13<HostLinkConfig>;

// Frames ready for the wire, back to back, with what they hold: the library writes them as one
// message and lets them go together once it has written them.
struct HeldMessage {
    explicit HeldMessage(SendGate::HeldFrame held) : held(std::move(held)) {}

    Message message{Message::con_msg_man_ptr()};
    SendGate::HeldFrame held;
};

// Frames wait as their bytes, and go to the library in pieces of about this size. A frame as a
// message of its own costs the library about 400 bytes more than its own 80, and a refresh of
// 10,000 keys made on the network thread waits in full before the library may write any of it.
constexpr std::size_t kBatchBytes = std::size_t{64} << 10;

// The memory the plug-in spends at most on frames offered to a host that does not read, beyond
// those of the turn under way (one refresh): several refreshes of many keys, far more than a host
// that reads leaves unread.
constexpr std::size_t kHeldForHostCap = std::size_t{2} << 20;

std::string HostUri(int port) {
    return "ws://127.0.0.1:" + std::to_string(port);
}

}  // namespace

struct KGPConnectionManager::Endpoint {
    Endpoint()
        : gate(kHeldForHostCap, [this] {
              websocketpp::lib::asio::post(client.get_io_service(), [this] {
                  gate.MarkOffered();
                  HandOverBatch();
              });
          }) {}

    // Frames are masked and framed here, as the library would, and gathered into one batch that
    // the network thread hands to the library on its next turn (a full one goes at once).
    void Send(websocketpp::frame::opcode::value opcode, const std::string& payload) {
        gate.Send(payload.size(), [this, opcode, &payload](SendGate::HeldFrame held) {
            websocketpp::lib::error_code error;
            // Before the link opens, and once it is gone, nothing waits to be sent.
            client.get_con_from_hdl(connectionHandle, error);
            if (!error) {
                error = Prepare(opcode, payload);
            }
            if (error) {
                return false;
            }
            std::lock_guard<std::mutex> lock(batchMutex);
            batch.append(prepared->get_header()).append(prepared->get_payload());
            batchHeld.Merge(std::move(held));
            return batch.size() < kBatchBytes || HandOverBatchLocked();
        });
    }

    // Under the gate's lock, which guards the scratch messages.
    websocketpp::lib::error_code Prepare(websocketpp::frame::opcode::value opcode,
                                         const std::string& payload) {
        if (opcode == websocketpp::frame::opcode::pong) {
            return framer.prepare_pong(payload, prepared);
        }
        unprepared->set_opcode(opcode);
        unprepared->get_raw_payload() = payload;
        return framer.prepare_data_frame(unprepared, prepared);
    }

    // Network thread.
    void HandOverBatch() {
        std::lock_guard<std::mutex> lock(batchMutex);
        HandOverBatchLocked();
    }

    // The library's send is safe from any thread while the loop runs; it refuses a handle
    // without an open connection, and the frames are then dropped.
    bool HandOverBatchLocked() {
        if (batch.empty()) {
            return true;
        }
        const auto holder = std::make_shared<HeldMessage>(std::move(batchHeld));
        holder->message.get_raw_payload() = std::move(batch);
        holder->message.set_prepared(true);
        batch.clear();
        websocketpp::lib::error_code error;
        client.send(connectionHandle, WebSocketClient::message_ptr(holder, &holder->message),
                    error);
        return !error;
    }

    // Written once in Run before the connection attempt starts; only read afterwards.
    websocketpp::connection_hdl connectionHandle;
    WebSocketClient client;
    MaskingKeySource maskingKeys;
    Framer framer{false, false, Framer::msg_manager_ptr(), maskingKeys};
    const WebSocketClient::message_ptr unprepared =
        std::make_shared<Message>(Message::con_msg_man_ptr(), websocketpp::frame::opcode::text);
    const WebSocketClient::message_ptr prepared =
        std::make_shared<Message>(Message::con_msg_man_ptr());
    std::mutex batchMutex;  // taken inside the gate's lock, never around it
    std::string batch;
    SendGate::HeldFrame batchHeld;
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
        // A ping is answered only while the host reads what it is sent, under the same bound:
        // the answer goes through the gate, and the library sends none of its own.
        client.set_ping_handler([this](websocketpp::connection_hdl, std::string payload) {
            endpoint->gate.MarkOffered();
            endpoint->Send(websocketpp::frame::opcode::pong, payload);
            return false;
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
    // The library cannot write while the network thread works through a batch of the host's
    // messages, but a host that sends on without reading must not make the plug-in hold a
    // refresh per message: what earlier messages produced counts as offered.
    endpoint->gate.MarkOffered();
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
    endpoint->Send(websocketpp::frame::opcode::text, text);
}

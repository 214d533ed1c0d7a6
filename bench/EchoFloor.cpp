#include "bench/EchoFloor.h"

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include <websocketpp/client.hpp>

#include "host/HostLinkConfig.h"
#include "hostpeer/LoopbackServer.h"

namespace {

using EchoClient = websocketpp::client<HostLinkConfig>;
using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kBound{10};

}  // namespace

struct EchoFloor::Link {
    Link(std::size_t requestBytes, std::size_t replyBytes)
        : request(requestBytes, 'q'), reply(replyBytes, 'r') {
        PrepareLoopbackServer(server);
        server.set_message_handler(
            [this](websocketpp::connection_hdl handle, LoopbackServer::message_ptr) {
                websocketpp::lib::error_code ignored;
                server.send(handle, reply, websocketpp::frame::opcode::text, ignored);
            });
        server.listen(asio::ip::tcp::endpoint(asio::ip::address_v4::loopback(), 0));
        asio::error_code error;
        port = server.get_local_endpoint(error).port();
        server.start_accept();
        serverThread = std::thread([this] { server.run(); });

        client.clear_access_channels(websocketpp::log::alevel::all);
        client.clear_error_channels(websocketpp::log::elevel::all);
        client.init_asio();
        client.set_tcp_pre_init_handler([this](websocketpp::connection_hdl handle) {
            asio::error_code ignored;
            client.get_con_from_hdl(handle)->get_socket().set_option(asio::ip::tcp::no_delay(true),
                                                                     ignored);
        });
        client.set_open_handler([this](websocketpp::connection_hdl handle) {
            std::lock_guard<std::mutex> lock(mutex);
            connection = handle;
            open = true;
            changed.notify_all();
        });
        client.set_message_handler([this](websocketpp::connection_hdl, EchoClient::message_ptr) {
            const Clock::time_point now = Clock::now();
            std::lock_guard<std::mutex> lock(mutex);
            arrival = now;
            ++replies;
            changed.notify_all();
        });
        websocketpp::lib::error_code connectError;
        EchoClient::connection_ptr attempt =
            client.get_connection("ws://127.0.0.1:" + std::to_string(port), connectError);
        if (connectError) {
            throw std::runtime_error("echo floor: " + connectError.message());
        }
        client.connect(attempt);
        clientThread = std::thread([this] { client.run(); });

        std::unique_lock<std::mutex> lock(mutex);
        if (!changed.wait_for(lock, kBound, [this] { return open; })) {
            throw std::runtime_error("echo floor: the client did not connect");
        }
    }

    ~Link() {
        websocketpp::lib::error_code ignored;
        client.close(connection, websocketpp::close::status::normal, "", ignored);
        server.stop_listening(ignored);
        client.stop();
        server.stop();
        clientThread.join();
        serverThread.join();
    }

    std::chrono::nanoseconds RoundTrip() {
        std::unique_lock<std::mutex> lock(mutex);
        const std::size_t expected = replies + 1;
        const Clock::time_point sent = Clock::now();
        websocketpp::lib::error_code error;
        client.send(connection, request, websocketpp::frame::opcode::text, error);
        if (error || !changed.wait_for(lock, kBound, [&] { return replies >= expected; })) {
            throw std::runtime_error("echo floor: no reply");
        }
        return arrival - sent;
    }

    std::string request;
    std::string reply;
    LoopbackServer server;
    EchoClient client;
    int port = 0;
    std::thread serverThread;
    std::thread clientThread;

    std::mutex mutex;
    std::condition_variable changed;
    websocketpp::connection_hdl connection;
    bool open = false;
    std::size_t replies = 0;
    Clock::time_point arrival;
};

EchoFloor::EchoFloor(std::size_t requestBytes, std::size_t replyBytes)
    : link(std::make_unique<Link>(requestBytes, replyBytes)) {}

EchoFloor::~EchoFloor() = default;

std::chrono::nanoseconds EchoFloor::RoundTrip() {
    return link->RoundTrip();
}

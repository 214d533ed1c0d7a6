// The websocketpp server that plays the host application on the loopback interface: in the
// bench, the field check and the C++ tests.
#pragma once

#include <websocketpp/config/asio_no_tls.hpp>
#include <websocketpp/server.hpp>

using LoopbackServer = websocketpp::server<websocketpp::config::asio>;

// Silent, reusing its address, and sending every frame at once: Nagle's algorithm would hold
// back small frames, and the host's side should add no delay of its own to what is measured.
void PrepareLoopbackServer(LoopbackServer& server);

// Listens on a free port of the loopback interface, starts accepting, and returns the port.
int ListenOnFreeLoopbackPort(LoopbackServer& server);

// Prepares the server, hands its frames, opened and ended connections to `peer` (which has
// Received, Opened and Ended; they run on the server's I/O thread), listens on a free loopback
// port and returns it.
template <typename Peer>
int ServeOnFreeLoopbackPort(LoopbackServer& server, Peer* peer) {
    PrepareLoopbackServer(server);
    server.set_message_handler(
        [peer](websocketpp::connection_hdl handle, LoopbackServer::message_ptr message) {
            peer->Received(handle, message);
        });
    server.set_open_handler([peer](websocketpp::connection_hdl handle) { peer->Opened(handle); });
    server.set_close_handler([peer](websocketpp::connection_hdl handle) { peer->Ended(handle); });
    server.set_fail_handler([peer](websocketpp::connection_hdl handle) { peer->Ended(handle); });
    return ListenOnFreeLoopbackPort(server);
}

// The websocketpp server both benchmark peers run on the loopback interface.
#pragma once

#include <websocketpp/config/asio_no_tls.hpp>
#include <websocketpp/server.hpp>

using LoopbackServer = websocketpp::server<websocketpp::config::asio>;

// Silent, reusing its address, and sending every frame at once: Nagle's algorithm would hold
// back small frames, and the host's side should add no delay of its own to what is measured.
void PrepareLoopbackServer(LoopbackServer& server);

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

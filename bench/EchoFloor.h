// The floor under the key-press latency: the same frame sizes sent back and forth between a
// bare websocketpp client and server on the same loopback, with no plug-in in between. The
// server side is set up as the loopback host is, the client side as the plug-in's client is (its
// configuration, no Nagle delay). Its samples are taken in turn with the presses', so both
// see the same machine at the same moment.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

class EchoFloor {
public:
    // Connects a client to an echo server that answers every request with `replyBytes` bytes.
    EchoFloor(std::size_t requestBytes, std::size_t replyBytes);
    EchoFloor(const EchoFloor&) = delete;
    EchoFloor& operator=(const EchoFloor&) = delete;
    ~EchoFloor();

    // One request and its reply; throws std::runtime_error when no reply comes.
    std::chrono::nanoseconds RoundTrip();

private:
    struct Link;
    std::unique_ptr<Link> link;
};

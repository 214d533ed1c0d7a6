// The floor under the key-press latency: the same frame sizes sent back and forth between a
// bare websocketpp client and server on the same loopback, with no plug-in in between. The
// server side is set up as the bench host is (no Nagle delay), the client side with the
// library's defaults, as the plug-in's client is.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

// Round-trip times of `count` exchanges: a request of `requestBytes` answered by a reply of
// `replyBytes`, one after the other.
std::vector<std::chrono::nanoseconds> MeasureEchoRoundTrips(std::size_t count,
                                                            std::size_t requestBytes,
                                                            std::size_t replyBytes);

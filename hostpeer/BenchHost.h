// The host application's side of the link, for measuring: a WebSocket server on a free
// loopback port that accepts the plug-in's connections one after another, timestamps every
// frame on arrival and hands the frames to the measuring thread in order.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

using BenchClock = std::chrono::steady_clock;

struct ReceivedFrame {
    BenchClock::time_point arrival;
    std::string text;
};

class BenchHost {
public:
    BenchHost();
    BenchHost(const BenchHost&) = delete;
    BenchHost& operator=(const BenchHost&) = delete;
    ~BenchHost();

    int Port() const;

    // The next frame not yet taken, in arrival order; empty when none arrives in time.
    std::optional<ReceivedFrame> NextFrame(std::chrono::milliseconds timeout);
    // Takes frames until one matches (the others are dropped); empty on timeout.
    std::optional<ReceivedFrame> NextFrameMatching(
        const std::function<bool(const std::string&)>& predicate,
        std::chrono::milliseconds timeout);
    // Drops every frame received so far; returns how many.
    std::size_t DiscardFrames();

    // True once a connection is open (the current one, if one already is).
    bool WaitForConnection(std::chrono::milliseconds timeout);
    // True once the current connection has ended.
    bool WaitForDisconnection(std::chrono::milliseconds timeout);

    // Sends one text frame on the open connection; returns the time just before the send.
    BenchClock::time_point Send(const std::string& text);
    // Closes the open connection normally; the plug-in then exits.
    void Close();

private:
    struct State;
    std::unique_ptr<State> state;
};

// The host application's side of the link, for the bench, the field check and the C++ tests: a
// WebSocket server on a free loopback port that accepts the plug-in's connections one after
// another, timestamps every frame on arrival, keeps the frames in order until they are taken,
// and sends frames of its own. Every wait is bounded by a timeout.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using HostClock = std::chrono::steady_clock;

struct ReceivedFrame {
    HostClock::time_point arrival;
    std::string text;  // the payload, also of a binary frame
    bool isText = true;
};

class LoopbackHost {
public:
    using FramePredicate = std::function<bool(const ReceivedFrame&)>;

    // How long a wait for a frame that must come lasts before it counts as lost. Only a fault
    // makes it run out, so it is wide: under ThreadSanitizer beside a build, 600 frames of
    // 2 KB once took more than 5 s.
    static constexpr std::chrono::milliseconds kDefaultTimeout{30000};

    LoopbackHost();
    LoopbackHost(const LoopbackHost&) = delete;
    LoopbackHost& operator=(const LoopbackHost&) = delete;
    // Stops at once: an open connection is dropped without a closing handshake, as when the
    // host application's process goes away.
    ~LoopbackHost();

    int Port() const;

    // Every frame received and not yet taken, in arrival order.
    std::vector<ReceivedFrame> Frames() const;
    // The frame with this zero-based index among those not yet taken, once it has arrived.
    std::optional<ReceivedFrame> WaitForFrame(std::size_t index,
                                              std::chrono::milliseconds timeout = kDefaultTimeout);
    // The first frame not yet taken (already there or still to come) that matches.
    std::optional<ReceivedFrame> WaitForFrameMatching(
        const FramePredicate& predicate, std::chrono::milliseconds timeout = kDefaultTimeout);

    // Takes the next frame; empty when none arrives in time.
    std::optional<ReceivedFrame> NextFrame(std::chrono::milliseconds timeout);
    // Takes frames until one whose text matches (the others are dropped); empty on timeout.
    std::optional<ReceivedFrame> NextFrameMatching(
        const std::function<bool(const std::string&)>& predicate,
        std::chrono::milliseconds timeout);
    // Drops every frame received so far; returns how many.
    std::size_t DiscardFrames();

    // True once a connection has been opened (it may have ended since).
    bool WaitForConnection(std::chrono::milliseconds timeout = kDefaultTimeout);
    // True once the connection opened last has ended (one must have been opened).
    bool WaitForDisconnection(std::chrono::milliseconds timeout = kDefaultTimeout);
    int ConnectionCount() const;

    // Send to the open connection; false when none is open or the send fails.
    bool SendText(const std::string& text);
    bool SendBinary(const std::string& bytes);
    // Sends one text frame; returns the time just before the send. Throws std::runtime_error
    // when it cannot be sent.
    HostClock::time_point Send(const std::string& text);
    // Closes the open connection with the normal status; the plug-in then exits.
    void Close();

private:
    struct State;
    std::unique_ptr<State> state;
};

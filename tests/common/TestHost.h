#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// An in-process WebSocket server on a free loopback port that stands in for the host
// application: it accepts the plug-in's connection, records every frame the plug-in sends and
// sends frames of its own. Every wait is bounded by a timeout.
class TestHost {
public:
    struct Frame {
        bool isText = true;
        std::string payload;
    };
    using FramePredicate = std::function<bool(const Frame&)>;

    static constexpr std::chrono::milliseconds kDefaultTimeout{5000};

    TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;
    ~TestHost();

    int Port() const;

    // Every frame received so far, in arrival order.
    std::vector<Frame> Frames() const;
    // The frame with this zero-based index, once it has arrived.
    std::optional<Frame> WaitForFrame(std::size_t index,
                                      std::chrono::milliseconds timeout = kDefaultTimeout);
    // The first received frame (already there or still to come) that matches.
    std::optional<Frame> WaitForFrameMatching(const FramePredicate& predicate,
                                              std::chrono::milliseconds timeout = kDefaultTimeout);

    bool WaitForConnection(std::chrono::milliseconds timeout = kDefaultTimeout);
    // True once the client's connection has closed (it must have been open first).
    bool WaitForDisconnection(std::chrono::milliseconds timeout = kDefaultTimeout);
    int ConnectionCount() const;

    // Send to the connected client; false when no connection is open.
    bool SendText(const std::string& text);
    bool SendBinary(const std::string& bytes);
    // Closes the client's connection with the normal status.
    void Close();

private:
    struct State;
    std::unique_ptr<State> state;
};

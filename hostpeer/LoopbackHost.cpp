#include "hostpeer/LoopbackHost.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "hostpeer/LoopbackServer.h"

struct LoopbackHost::State {
    LoopbackServer server;
    std::thread ioThread;
    int port = 0;

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<ReceivedFrame> frames;
    websocketpp::connection_hdl connection;
    int connectionCount = 0;
    bool open = false;

    template <typename Condition>
    bool WaitUntil(std::chrono::milliseconds timeout, Condition condition) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, timeout, condition);
    }

    void Received(websocketpp::connection_hdl, LoopbackServer::message_ptr message) {
        ReceivedFrame frame{HostClock::now(), message->get_payload(),
                            message->get_opcode() == websocketpp::frame::opcode::text};
        std::lock_guard<std::mutex> lock(mutex);
        frames.push_back(std::move(frame));
        changed.notify_all();
    }

    void Opened(websocketpp::connection_hdl handle) {
        std::lock_guard<std::mutex> lock(mutex);
        connection = handle;
        ++connectionCount;
        open = true;
        changed.notify_all();
    }

    void Ended(websocketpp::connection_hdl handle) {
        std::lock_guard<std::mutex> lock(mutex);
        if (!connection.owner_before(handle) && !handle.owner_before(connection)) {
            open = false;
        }
        changed.notify_all();
    }

    // Sends on the open connection and sets `sent` to the time just before; returns why it
    // could not, or nothing.
    std::string Send(const std::string& payload, websocketpp::frame::opcode::value opcode,
                     HostClock::time_point& sent) {
        websocketpp::connection_hdl handle;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!open) {
                return "no connection is open";
            }
            handle = connection;
        }
        sent = HostClock::now();
        websocketpp::lib::error_code error;
        server.send(handle, payload, opcode, error);
        return error ? "send failed: " + error.message() : "";
    }

    // On the I/O thread only: the library changes a connection's state on close without the
    // lock under which that thread reads frames.
    void CloseOpenConnection() {
        websocketpp::connection_hdl handle;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!open) {
                return;
            }
            handle = connection;
        }
        websocketpp::lib::error_code ignored;
        server.close(handle, websocketpp::close::status::normal, "", ignored);
    }
};

LoopbackHost::LoopbackHost() : state(std::make_unique<State>()) {
    // The plug-in answers a close only after the frames it has queued, and draining those can
    // take seconds on a starved machine; the library's default wait for that answer (5 s) is as
    // long as the tests allow for the plug-in to end. Like a host that gives up waiting, this
    // one drops the connection after a second, and the plug-in ends on that.
    state->server.set_close_handshake_timeout(1000);
    state->port = ServeOnFreeLoopbackPort(state->server, state.get());
    State* shared = state.get();
    state->ioThread = std::thread([shared] { shared->server.run(); });
}

LoopbackHost::~LoopbackHost() {
    // The acceptor belongs to the I/O thread: it is closed there.
    State* shared = state.get();
    asio::post(state->server.get_io_service(), [shared] {
        websocketpp::lib::error_code ignored;
        shared->server.stop_listening(ignored);
        shared->server.stop();
    });
    if (state->ioThread.joinable()) {
        state->ioThread.join();
    }
}

int LoopbackHost::Port() const {
    return state->port;
}

std::vector<ReceivedFrame> LoopbackHost::Frames() const {
    std::lock_guard<std::mutex> lock(state->mutex);
    return {state->frames.begin(), state->frames.end()};
}

std::optional<ReceivedFrame> LoopbackHost::WaitForFrame(std::size_t index,
                                                        std::chrono::milliseconds timeout) {
    if (!state->WaitUntil(timeout, [this, index] { return state->frames.size() > index; })) {
        return std::nullopt;
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    return state->frames[index];
}

std::optional<ReceivedFrame> LoopbackHost::WaitForFrameMatching(const FramePredicate& predicate,
                                                                std::chrono::milliseconds timeout) {
    std::optional<ReceivedFrame> match;
    state->WaitUntil(timeout, [this, &predicate, &match] {
        const auto found = std::find_if(state->frames.begin(), state->frames.end(), predicate);
        if (found != state->frames.end()) {
            match = *found;
        }
        return match.has_value();
    });
    return match;
}

std::optional<ReceivedFrame> LoopbackHost::NextFrame(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(state->mutex);
    if (!state->changed.wait_for(lock, timeout, [this] { return !state->frames.empty(); })) {
        return std::nullopt;
    }
    ReceivedFrame frame = std::move(state->frames.front());
    state->frames.pop_front();
    return frame;
}

std::optional<ReceivedFrame> LoopbackHost::NextFrameMatching(
    const std::function<bool(const std::string&)>& predicate, std::chrono::milliseconds timeout) {
    const HostClock::time_point deadline = HostClock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - HostClock::now());
        std::optional<ReceivedFrame> frame =
            NextFrame(std::max(left, std::chrono::milliseconds(0)));
        if (!frame || predicate(frame->text)) {
            return frame;
        }
    }
}

std::size_t LoopbackHost::DiscardFrames() {
    std::lock_guard<std::mutex> lock(state->mutex);
    const std::size_t count = state->frames.size();
    state->frames.clear();
    return count;
}

bool LoopbackHost::WaitForConnection(std::chrono::milliseconds timeout) {
    return state->WaitUntil(timeout, [this] { return state->connectionCount > 0; });
}

bool LoopbackHost::WaitForDisconnection(std::chrono::milliseconds timeout) {
    return state->WaitUntil(timeout, [this] { return state->connectionCount > 0 && !state->open; });
}

int LoopbackHost::ConnectionCount() const {
    std::lock_guard<std::mutex> lock(state->mutex);
    return state->connectionCount;
}

bool LoopbackHost::SendText(const std::string& text) {
    HostClock::time_point ignored;
    return state->Send(text, websocketpp::frame::opcode::text, ignored).empty();
}

bool LoopbackHost::SendBinary(const std::string& bytes) {
    HostClock::time_point ignored;
    return state->Send(bytes, websocketpp::frame::opcode::binary, ignored).empty();
}

HostClock::time_point LoopbackHost::Send(const std::string& text) {
    HostClock::time_point sent;
    const std::string failure = state->Send(text, websocketpp::frame::opcode::text, sent);
    if (!failure.empty()) {
        throw std::runtime_error("loopback host: " + failure);
    }
    return sent;
}

void LoopbackHost::Close() {
    State* shared = state.get();
    asio::post(state->server.get_io_service(), [shared] { shared->CloseOpenConnection(); });
}

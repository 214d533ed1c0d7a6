#include "hostpeer/BenchHost.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "hostpeer/LoopbackServer.h"

struct BenchHost::State {
    LoopbackServer server;
    std::thread ioThread;
    int port = 0;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<ReceivedFrame> frames;
    websocketpp::connection_hdl connection;
    bool open = false;

    void Received(websocketpp::connection_hdl, LoopbackServer::message_ptr message) {
        ReceivedFrame frame{BenchClock::now(), message->get_payload()};
        std::lock_guard<std::mutex> lock(mutex);
        frames.push_back(std::move(frame));
        changed.notify_all();
    }

    void Opened(websocketpp::connection_hdl handle) {
        std::lock_guard<std::mutex> lock(mutex);
        connection = handle;
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

BenchHost::BenchHost() : state(std::make_unique<State>()) {
    state->port = ServeOnFreeLoopbackPort(state->server, state.get());
    State* shared = state.get();
    state->ioThread = std::thread([shared] { shared->server.run(); });
}

BenchHost::~BenchHost() {
    // The acceptor and the connection belong to the I/O thread: they are closed there.
    State* shared = state.get();
    asio::post(state->server.get_io_service(), [shared] {
        websocketpp::lib::error_code ignored;
        shared->server.stop_listening(ignored);
        shared->CloseOpenConnection();
        shared->server.stop();
    });
    if (state->ioThread.joinable()) {
        state->ioThread.join();
    }
}

int BenchHost::Port() const {
    return state->port;
}

std::optional<ReceivedFrame> BenchHost::NextFrame(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(state->mutex);
    if (!state->changed.wait_for(lock, timeout, [this] { return !state->frames.empty(); })) {
        return std::nullopt;
    }
    ReceivedFrame frame = std::move(state->frames.front());
    state->frames.pop_front();
    return frame;
}

std::optional<ReceivedFrame> BenchHost::NextFrameMatching(
    const std::function<bool(const std::string&)>& predicate, std::chrono::milliseconds timeout) {
    const BenchClock::time_point deadline = BenchClock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - BenchClock::now());
        std::optional<ReceivedFrame> frame =
            NextFrame(std::max(left, std::chrono::milliseconds(0)));
        if (!frame || predicate(frame->text)) {
            return frame;
        }
    }
}

std::size_t BenchHost::DiscardFrames() {
    std::lock_guard<std::mutex> lock(state->mutex);
    const std::size_t count = state->frames.size();
    state->frames.clear();
    return count;
}

bool BenchHost::WaitForConnection(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(state->mutex);
    return state->changed.wait_for(lock, timeout, [this] { return state->open; });
}

bool BenchHost::WaitForDisconnection(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(state->mutex);
    return state->changed.wait_for(lock, timeout, [this] { return !state->open; });
}

BenchClock::time_point BenchHost::Send(const std::string& text) {
    websocketpp::connection_hdl connection;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        connection = state->connection;
    }
    const BenchClock::time_point sent = BenchClock::now();
    websocketpp::lib::error_code error;
    state->server.send(connection, text, websocketpp::frame::opcode::text, error);
    if (error) {
        throw std::runtime_error("bench host: send failed: " + error.message());
    }
    return sent;
}

void BenchHost::Close() {
    State* shared = state.get();
    asio::post(state->server.get_io_service(), [shared] { shared->CloseOpenConnection(); });
}

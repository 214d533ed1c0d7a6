#include "tests/common/TestHost.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "hostpeer/LoopbackServer.h"

struct TestHost::State {
    LoopbackServer server;
    std::thread ioThread;
    int port = 0;

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<Frame> frames;
    websocketpp::connection_hdl connection;
    int connectionCount = 0;
    bool open = false;
    bool closed = false;

    template <typename Condition>
    bool WaitUntil(std::chrono::milliseconds timeout, Condition condition) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, timeout, condition);
    }

    void Received(websocketpp::connection_hdl, LoopbackServer::message_ptr message) {
        Frame frame{message->get_opcode() == websocketpp::frame::opcode::text,
                    message->get_payload()};
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

    void Ended(websocketpp::connection_hdl) {
        std::lock_guard<std::mutex> lock(mutex);
        if (open) {
            open = false;
            closed = true;
        }
        changed.notify_all();
    }

    bool Send(const std::string& payload, websocketpp::frame::opcode::value opcode) {
        websocketpp::connection_hdl handle;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!open) {
                return false;
            }
            handle = connection;
        }
        websocketpp::lib::error_code error;
        server.send(handle, payload, opcode, error);
        return !error;
    }
};

TestHost::TestHost() : state(std::make_unique<State>()) {
    state->port = ServeOnFreeLoopbackPort(state->server, state.get());
    State* shared = state.get();
    state->ioThread = std::thread([shared] { shared->server.run(); });
}

TestHost::~TestHost() {
    state->server.stop();
    state->ioThread.join();
}

int TestHost::Port() const {
    return state->port;
}

std::vector<TestHost::Frame> TestHost::Frames() const {
    std::lock_guard<std::mutex> lock(state->mutex);
    return state->frames;
}

std::optional<TestHost::Frame> TestHost::WaitForFrame(std::size_t index,
                                                      std::chrono::milliseconds timeout) {
    if (!state->WaitUntil(timeout, [this, index] { return state->frames.size() > index; })) {
        return std::nullopt;
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    return state->frames[index];
}

std::optional<TestHost::Frame> TestHost::WaitForFrameMatching(const FramePredicate& predicate,
                                                              std::chrono::milliseconds timeout) {
    std::optional<Frame> match;
    state->WaitUntil(timeout, [this, &predicate, &match] {
        for (const Frame& frame : state->frames) {
            if (predicate(frame)) {
                match = frame;
                return true;
            }
        }
        return false;
    });
    return match;
}

bool TestHost::WaitForConnection(std::chrono::milliseconds timeout) {
    return state->WaitUntil(timeout, [this] { return state->connectionCount > 0; });
}

bool TestHost::WaitForDisconnection(std::chrono::milliseconds timeout) {
    return state->WaitUntil(timeout, [this] { return state->closed; });
}

int TestHost::ConnectionCount() const {
    std::lock_guard<std::mutex> lock(state->mutex);
    return state->connectionCount;
}

bool TestHost::SendText(const std::string& text) {
    return state->Send(text, websocketpp::frame::opcode::text);
}

bool TestHost::SendBinary(const std::string& bytes) {
    return state->Send(bytes, websocketpp::frame::opcode::binary);
}

void TestHost::Close() {
    websocketpp::connection_hdl handle;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        handle = state->connection;
    }
    // Started on the host's own thread: the library's close changes the connection's state
    // without a lock its reading of frames would take.
    State* shared = state.get();
    asio::post(state->server.get_io_service(), [shared, handle] {
        websocketpp::lib::error_code ignored;
        shared->server.close(handle, websocketpp::close::status::normal, "", ignored);
    });
}

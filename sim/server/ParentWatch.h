// Ends the server when the process that launched it is gone. Under Wine, COM starts a local
// server from the client process itself, so that is the end of the only client a single-use
// server has; the client may die without releasing its references. The watch runs on a thread
// of its own, so it also ends a server whose main thread is stuck in a hanging member call.
#pragma once

#include <functional>
#include <thread>

#include "sim/server/ParentProcess.h"

namespace pptsim::server {

class ParentWatch {
public:
    // onParentEnded runs once if the parent ends before the watch is destroyed: on the watch's
    // thread, or at once when the parent has already gone (a client that died while COM was
    // still starting this server).
    ParentWatch(ParentProcess parent, std::function<void()> onParentEnded);
    ~ParentWatch();
    ParentWatch(const ParentWatch&) = delete;
    ParentWatch& operator=(const ParentWatch&) = delete;

private:
    UniqueHandle parent;
    UniqueHandle stopped;
    std::thread watcher;
};

}  // namespace pptsim::server

#include "sim/server/ParentWatch.h"

#include <utility>

namespace pptsim::server {

ParentWatch::ParentWatch(ParentProcess watched, std::function<void()> onParentEnded)
    : stopped(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (watched.known && !watched.handle) {
        onParentEnded();
        return;
    }
    parent = std::move(watched.handle);
    if (!parent || !stopped) {
        return;  // nothing to watch: the server then ends by its other rules only
    }
    watcher = std::thread([this, onParentEnded = std::move(onParentEnded)] {
        const HANDLE handles[] = {parent.Get(), stopped.Get()};
        if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) {
            onParentEnded();
        }
    });
}

ParentWatch::~ParentWatch() {
    if (watcher.joinable()) {
        SetEvent(stopped.Get());
        watcher.join();
    }
}

}  // namespace pptsim::server

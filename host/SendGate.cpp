#include "host/SendGate.h"

#include <utility>

SendGate::SendGate(std::size_t capBytes, ScheduleMark scheduleMark)
    : cap(capBytes), scheduleMark(std::move(scheduleMark)) {}

bool SendGate::Send(std::size_t bytes, const std::function<bool(HeldFrame)>& send) {
    bool sent = false;
    bool schedule = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (closed || HostLeftCapUnread()) {
            return false;
        }
        const std::size_t cost = bytes + kFrameOverhead;
        // Counted before the library may write it, so that the count never runs behind.
        handed += cost;
        sent = send(HeldFrame(ledger, cost));
        // A frame the library refused has ended already, and needs no turn of the network
        // thread (which may not run yet).
        if (sent && !markScheduled) {
            markScheduled = schedule = true;
        }
    }
    if (schedule) {
        scheduleMark();
    }
    return sent;
}

void SendGate::MarkOffered() {
    std::lock_guard<std::mutex> lock(mutex);
    markScheduled = false;
    offered = handed;
}

void SendGate::Close() {
    std::lock_guard<std::mutex> lock(mutex);
    closed = true;
}

bool SendGate::HostLeftCapUnread() const {
    // Frames are written in the order they were handed, so what has been written covers the
    // offered frames first; a frame refused by the library ends at once, and may make the
    // written figure pass the offered one for a moment.
    const std::size_t written = ledger->written.load();
    return offered > written && offered - written >= cap;
}

#include "host/SendGate.h"

#include <utility>

SendGate::SendGate(std::size_t capBytes, MeasureHeld measureHeld,
                   ScheduleRemeasure scheduleRemeasure)
    : cap(capBytes),
      measureHeld(std::move(measureHeld)),
      scheduleRemeasure(std::move(scheduleRemeasure)) {}

void SendGate::BindNetworkThread() {
    std::lock_guard<std::mutex> lock(mutex);
    networkThread = std::this_thread::get_id();
}

bool SendGate::Send(std::size_t bytes, const std::function<bool()>& send) {
    bool sent = false;
    bool schedule = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (closed) {
            return false;
        }
        const bool onNetworkThread = OnNetworkThread();
        if (IsFull() && onNetworkThread) {
            TakeMeasuredBytes();
        }
        if (!IsFull()) {
            sent = send();
            if (sent) {
                Count(bytes);
            }
        }
        // From half the queue's share on, the figure is brought back to the library's count, so
        // that a host that reads never meets the bound because of frames it has long taken.
        if (heldBytes + heldFrames * kFrameBookkeeping >= cap / 4) {
            if (onNetworkThread) {
                TakeMeasuredBytes();
            } else if (!remeasureScheduled) {
                remeasureScheduled = schedule = true;
            }
        }
    }
    if (schedule) {
        scheduleRemeasure();
    }
    return sent;
}

bool SendGate::Admit(std::size_t bytes) {
    std::lock_guard<std::mutex> lock(mutex);
    if (closed) {
        return false;
    }
    TakeMeasuredBytes();
    if (IsFull()) {
        return false;
    }
    Count(bytes);
    return true;
}

void SendGate::Remeasure() {
    std::lock_guard<std::mutex> lock(mutex);
    remeasureScheduled = false;
    if (!closed) {
        TakeMeasuredBytes();
    }
}

void SendGate::Close() {
    std::lock_guard<std::mutex> lock(mutex);
    closed = true;
}

bool SendGate::OnNetworkThread() const {
    return std::this_thread::get_id() == networkThread;
}

bool SendGate::IsFull() const {
    return heldBytes + heldFrames * kFrameBookkeeping >= cap / 2;
}

void SendGate::TakeMeasuredBytes() {
    const std::size_t measured = measureHeld();
    // The frames the host has taken went in order; their share of the bytes is their share of
    // the frames, near enough.
    heldFrames = heldBytes == 0 ? 0
                                : static_cast<std::size_t>(static_cast<double>(heldFrames) *
                                                           static_cast<double>(measured) /
                                                           static_cast<double>(heldBytes));
    heldBytes = measured;
}

void SendGate::Count(std::size_t bytes) {
    heldBytes += bytes;
    ++heldFrames;
}

#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

// Bounds the memory the plug-in holds for a host that does not read, and stops sending once the
// link is over.
//
// Frames that the host has not taken yet wait in the WebSocket library's queue. The library
// counts their bytes, but that count may be read only where nothing else changes it: on the
// network thread while no other thread is inside a send. So every send runs under this gate's
// lock, the gate keeps its own figure (the last count read plus what was sent since), and the
// network thread replaces that figure with the library's count whenever it is asked to. A
// queued frame costs its bytes plus the library's bookkeeping for it; frames are counted too,
// and scaled with the bytes when the count is read. While the queue's cost is at or above half
// the cap a new frame is refused (the other half is for the write in flight, which the library
// no longer counts and which holds at most what the queue held). The periodic refresh sends every
// key's title and state again once the host reads, so nothing is lost for good.
class SendGate {
public:
    // Bytes of frames the library still holds for the host; called on the network thread only.
    using MeasureHeld = std::function<std::size_t()>;
    // Arranges for Remeasure to run on the network thread soon; called from other threads.
    using ScheduleRemeasure = std::function<void()>;

    SendGate(std::size_t capBytes, MeasureHeld measureHeld, ScheduleRemeasure scheduleRemeasure);
    SendGate(const SendGate&) = delete;
    SendGate& operator=(const SendGate&) = delete;

    // Marks the calling thread as the network thread.
    void BindNetworkThread();

    // Any thread. Runs `send` (which returns whether the library took the frame) unless the
    // link is over or the frames held for the host have reached their bound; returns whether the
    // frame was taken.
    bool Send(std::size_t bytes, const std::function<bool()>& send);

    // Network thread: whether a frame of `bytes` that the library queues by itself (the answer
    // to a ping) fits; if so it is counted.
    bool Admit(std::size_t bytes);

    // Network thread: takes the library's count as the gate's figure.
    void Remeasure();

    // The link has closed or failed: nothing is sent from now on.
    void Close();

    // What a queued frame costs beyond its bytes: the library's message object, its header and
    // the shared pointer's control block, about 200 bytes with glibc.
    static constexpr std::size_t kFrameBookkeeping = 256;

private:
    bool OnNetworkThread() const;
    bool IsFull() const;
    void TakeMeasuredBytes();
    void Count(std::size_t bytes);

    const std::size_t cap;
    const MeasureHeld measureHeld;
    const ScheduleRemeasure scheduleRemeasure;
    std::mutex mutex;
    std::thread::id networkThread;
    std::size_t heldBytes = 0;
    std::size_t heldFrames = 0;
    bool remeasureScheduled = false;
    bool closed = false;
};

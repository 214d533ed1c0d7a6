#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>

// Bounds the memory the plug-in holds for a host that does not read, and stops sending once the
// link is over.
//
// A frame is held from the moment it is handed over until the WebSocket library has written all
// of it to the socket and lets it go: the frame carries a HeldFrame, whose end the gate counts.
//
// Frames handed to the library since the network thread last had a turn have not been offered to
// the host yet: a refresh produced on the network thread, or while that thread waits, stays in
// the library's queue until it returns. Those frames are never held against the host. Each send
// asks for a mark on the network thread; once it runs, every frame handed before it has been
// offered (the library writes as soon as the previous write is done). While the frames offered
// and not yet written reach the cap, the host is not reading and new frames are refused; the
// periodic refresh sends every key's title and state again once the host reads, so nothing is
// lost for good. A host that stops reading therefore costs at most the cap plus the frames of
// one turn of the network thread (one refresh).
class SendGate {
    struct Ledger {
        std::atomic<std::size_t> written{0};
    };

public:
    // Arranges for MarkOffered to run on the network thread soon; called from any thread.
    using ScheduleMark = std::function<void()>;

    // Travels with a frame handed to the library; when it goes, the frame's cost is no longer
    // held. Lock-free, so it may end anywhere, even inside a send.
    class HeldFrame {
    public:
        HeldFrame() = default;
        HeldFrame(std::shared_ptr<Ledger> ledger, std::size_t cost)
            : ledger(std::move(ledger)), cost(cost) {}
        HeldFrame(HeldFrame&& other) noexcept { Take(other); }
        HeldFrame& operator=(HeldFrame&& other) noexcept {
            if (this != &other) {
                Release();
                Take(other);
            }
            return *this;
        }
        HeldFrame(const HeldFrame&) = delete;
        HeldFrame& operator=(const HeldFrame&) = delete;
        ~HeldFrame() { Release(); }

        // Frames that travel together end together.
        void Merge(HeldFrame&& other) {
            if (!ledger) {
                ledger = other.ledger;
            }
            cost += other.cost;
            other.ledger.reset();
            other.cost = 0;
        }

    private:
        void Take(HeldFrame& other) {
            ledger = std::move(other.ledger);
            cost = other.cost;
            other.cost = 0;
        }
        void Release() {
            if (ledger) {
                ledger->written.fetch_add(cost);
                ledger.reset();
            }
        }

        std::shared_ptr<Ledger> ledger;
        std::size_t cost = 0;
    };

    SendGate(std::size_t capBytes, ScheduleMark scheduleMark);
    SendGate(const SendGate&) = delete;
    SendGate& operator=(const SendGate&) = delete;

    // Any thread. Unless the link is over or the host has left the cap's worth of offered
    // frames unread, runs `send` with the frame's HeldFrame (to be kept with the frame for as
    // long as the library holds it); `send` returns whether the library took the frame. Returns
    // whether it did.
    bool Send(std::size_t bytes, const std::function<bool(HeldFrame)>& send);

    // Network thread: every frame handed so far has been offered to the host. Runs when asked
    // for, and before each message from the host is handled.
    void MarkOffered();

    // The link has closed or failed: nothing is sent from now on.
    void Close();

    // What a frame costs beyond its payload: frames wait as their bytes on the wire, so only
    // their header, at most 14 bytes from a client.
    static constexpr std::size_t kFrameOverhead = 14;

private:
    bool HostLeftCapUnread() const;

    const std::size_t cap;
    const ScheduleMark scheduleMark;
    const std::shared_ptr<Ledger> ledger = std::make_shared<Ledger>();
    std::mutex mutex;
    std::size_t handed = 0;   // cost of every frame handed, since the start
    std::size_t offered = 0;  // of which handed before the network thread's last turn
    bool markScheduled = false;
    bool closed = false;
};

#include "host/SendGate.h"

#include <deque>

#include <gtest/gtest.h>

namespace {

// Room for two frames of 100 bytes, counting their headers.
constexpr std::size_t kCap = 2 * (100 + SendGate::kFrameOverhead);

// Plays the library and the network thread: frames wait in `queue` until the host takes them.
struct GateProbe {
    std::deque<SendGate::HeldFrame> queue;
    int marksScheduled = 0;
    int framesSent = 0;
    SendGate gate{kCap, [this] { ++marksScheduled; }};

    bool Send() {
        return gate.Send(100, [this](SendGate::HeldFrame held) {
            ++framesSent;
            queue.push_back(std::move(held));
            return true;
        });
    }
    // The network thread's turn: it runs the mark asked for, if any.
    void Turn() {
        if (marksScheduled > 0) {
            marksScheduled = 0;
            gate.MarkOffered();
        }
    }
    void HostTakes(std::size_t frames) {
        for (; frames > 0; --frames) {
            queue.pop_front();
        }
    }
};

TEST(SendGate, RefusesFramesWhileTheHostLeavesTooMuchUnreadAndStopsForGoodWhenClosed) {
    GateProbe probe;
    // Two frames fill the cap once the network thread has offered them, and the host reads
    // nothing: the third is refused. One mark is asked for however many frames are sent.
    EXPECT_TRUE(probe.Send());
    EXPECT_TRUE(probe.Send());
    EXPECT_EQ(probe.marksScheduled, 1);
    probe.Turn();
    EXPECT_FALSE(probe.Send());
    EXPECT_EQ(probe.framesSent, 2);

    // The host has taken one frame: room for one more.
    probe.HostTakes(1);
    EXPECT_TRUE(probe.Send());
    probe.Turn();
    EXPECT_FALSE(probe.Send());

    // A host that has read everything is sent to at once.
    probe.HostTakes(2);
    EXPECT_TRUE(probe.Send());

    probe.gate.Close();
    EXPECT_FALSE(probe.Send());
    EXPECT_EQ(probe.framesSent, 4);
}

TEST(SendGate, AdmitsABurstTheNetworkThreadHasNotOfferedToTheHostYet) {
    GateProbe probe;
    // A refresh on the network thread, or while it waits, is produced before the library can
    // write any of it: ten frames, five times the cap, all go.
    for (int frame = 0; frame < 10; ++frame) {
        EXPECT_TRUE(probe.Send()) << "frame " << frame;
    }
    // After a turn the host has been offered them all and taken none: the next is refused
    // until it reads.
    probe.Turn();
    EXPECT_FALSE(probe.Send());
    probe.HostTakes(9);
    EXPECT_TRUE(probe.Send());
}

}  // namespace

#include "host/SendGate.h"

#include <gtest/gtest.h>

namespace {

// Room for two frames of 100 bytes in the queue's half of the cap, counting their bookkeeping.
constexpr std::size_t kCap = 4 * (100 + SendGate::kFrameBookkeeping);

struct GateProbe {
    std::size_t libraryHeld = 0;
    int remeasuresScheduled = 0;
    int framesSent = 0;
    SendGate gate{kCap, [this] { return libraryHeld; }, [this] { ++remeasuresScheduled; }};

    bool Send() {
        return gate.Send(100, [this] {
            ++framesSent;
            return true;
        });
    }
};

TEST(SendGate, RefusesFramesWhileTheHostLeavesTooMuchUnreadAndStopsForGoodWhenClosed) {
    GateProbe probe;
    // Off the network thread: two frames fill the queue's share, the third is refused, and the
    // network thread is asked once to read the library's count.
    EXPECT_TRUE(probe.Send());
    EXPECT_TRUE(probe.Send());
    EXPECT_FALSE(probe.Send());
    EXPECT_EQ(probe.framesSent, 2);
    EXPECT_EQ(probe.remeasuresScheduled, 1);

    // The host has taken one frame: room for one more.
    probe.libraryHeld = 100;
    probe.gate.Remeasure();
    EXPECT_TRUE(probe.Send());
    EXPECT_FALSE(probe.Send());

    // On the network thread the gate reads the count itself: a host that has read everything
    // is sent to at once, and answers to pings that the library queues count like frames.
    probe.gate.BindNetworkThread();
    probe.libraryHeld = 0;
    EXPECT_TRUE(probe.Send());
    EXPECT_TRUE(probe.gate.Admit(100));
    probe.libraryHeld = 100;
    EXPECT_TRUE(probe.gate.Admit(100));
    probe.libraryHeld = 200;
    EXPECT_FALSE(probe.gate.Admit(100));

    probe.gate.Close();
    EXPECT_FALSE(probe.Send());
    EXPECT_FALSE(probe.gate.Admit(1));
    EXPECT_EQ(probe.framesSent, 4);
}

}  // namespace

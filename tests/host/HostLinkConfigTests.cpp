// The host link's masking keys: the peer must not be able to guess them, so every frame gets a
// fresh one.
#include "host/HostLinkConfig.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(MaskingKeySource, DrawsAFreshKeyForEveryFrame) {
    MaskingKeySource keys;
    std::set<std::uint32_t> drawn;
    for (int frame = 0; frame < 64; ++frame) {
        drawn.insert(keys());
    }
    // 64 random 32-bit keys collide with a chance of about one in ten million.
    EXPECT_GE(drawn.size(), 63u);
}

}  // namespace

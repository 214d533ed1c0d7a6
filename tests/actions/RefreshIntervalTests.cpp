#include <gtest/gtest.h>

#include "actions/RefreshInterval.h"

namespace {

TEST(ChooseRefreshIntervalMs, TakesOnlyAWholeShorterInterval) {
    const struct {
        const char* requested;
        int expected;
    } cases[] = {{nullptr, 2000}, {"", 2000},   {"500", 500},   {"1", 1},
                 {"2000", 2000},  {"0", 2000},  {"2001", 2000}, {"99999999999999999999", 2000},
                 {"-5", 2000},    {"5x", 2000}, {" 5", 2000},   {"5.5", 2000}};
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseRefreshIntervalMs(c.requested, 2000), c.expected)
            << (c.requested != nullptr ? c.requested : "(none)");
    }
}

}  // namespace

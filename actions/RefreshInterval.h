// The key refresh's period. The product refreshes every RefreshIntervalMs; the end-to-end tests
// ask for a shorter period through the environment, so that they wait less for refreshes.
#pragma once

// The environment variable through which tests ask for a shorter refresh interval.
inline constexpr const char* kRefreshIntervalVariable = "GP_TEST_REFRESH_INTERVAL_MS";

// The interval to run at: `requested` when it is a whole number of milliseconds from 1 up to
// `standardMs`, otherwise (absent, empty, malformed, longer) `standardMs`.
int ChooseRefreshIntervalMs(const char* requested, int standardMs) noexcept;

// How long a key press waits for PowerPoint, named once: a submitter's wait, the busy retries of
// its command and the way out at the end of the link all derive from it.
#pragma once

#include <chrono>

inline constexpr std::chrono::milliseconds kPressBound{5000};

// A refresh read tries a busy PowerPoint again for a short while only: the next refresh comes in
// two seconds anyway, and key presses must not wait behind it.
inline constexpr std::chrono::milliseconds kRefreshBusyPatience = kPressBound / 10;

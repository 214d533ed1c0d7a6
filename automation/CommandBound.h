// How long one command to the PowerPoint worker may take, named once. A key press may make
// several commands (play reads the show, then ends or starts it; load may end a show, open the
// deck and read the keys), each with a bound of its own. A submitter's wait, the busy retries of
// its command, the wait for an acting call's outcome and the way out at the end of the link all
// derive from it.
#pragma once

#include <chrono>

inline constexpr std::chrono::milliseconds kCommandBound{5000};

// A refresh read tries a busy PowerPoint again for a short while only: the next refresh comes in
// two seconds anyway, and key presses must not wait behind it.
inline constexpr std::chrono::milliseconds kRefreshBusyPatience = kCommandBound / 10;

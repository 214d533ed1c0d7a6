// The commands the automation worker performs, by their wire-stable codes 0 to 12. Other
// codes can be posted (the type holds any 32-bit value) and yield the integer 0.
#pragma once

#include <cstdint>

enum class PowerPointCommand : std::int32_t {
    IsInSlideShow = 0,
    OpenPresentation,
    StartSlideShow,
    ExitSlideShow,
    NextSlide,
    PreviousSlide,
    FirstSlide,
    LastSlide,
    ClosePowerPoint,
    GetActivePresentation,
    GetCurrentSlide,
    GetSlideCount,
    ListPresentations,
};

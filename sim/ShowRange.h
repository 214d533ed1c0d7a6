// Which slides a presentation's show shows: those in its saved range that are not hidden, in
// deck order. Positions count from 1; 0 means there is no such slide.
#pragma once

#include "sim/ModelState.h"

namespace pptsim {

bool IsShown(const OpenPresentation& presentation, int position);
int FirstShown(const OpenPresentation& presentation);
int LastShown(const OpenPresentation& presentation);
// The next shown slide after position, or the previous one before it.
int ShownAfter(const OpenPresentation& presentation, int position);
int ShownBefore(const OpenPresentation& presentation, int position);
// How many shown slides come up to and including position (SlideShowView.CurrentShowPosition).
int ShowPositionOf(const OpenPresentation& presentation, int position);

}  // namespace pptsim

// Which slides a presentation's show shows: those in its saved range that are not hidden, in
// deck order; or, for a show that runs a custom show, the custom show's slides in its own order.
// Positions count from 1; 0 means there is no such slide.
#pragma once

#include <string>
#include <vector>

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

// The custom show's slides as positions, in its order, leaving out slides deleted since; empty
// when the presentation has no custom show of that name.
std::vector<int> NamedShowSlides(const OpenPresentation& presentation, const std::wstring& name);
// The index of the slide's first stop in the custom show's slides; kOutsideNamedShow when it
// shows no such slide.
int StepOf(const std::vector<int>& slides, int slide);

// Where a running show stands or goes: a slide's position (0: none) and, in a custom show, the
// index of that stop in the custom show's list (a custom show may show a slide twice).
struct ShowStop {
    int slide = 0;
    int step = 0;
};
ShowStop FirstStop(const OpenPresentation& presentation, const RunningShow& show);
ShowStop LastStop(const OpenPresentation& presentation, const RunningShow& show);
// The stop after or before the show's current one. From a slide outside its custom show the show
// goes on in the deck's order (inferred), back into the custom show where that slide is one of
// its own.
ShowStop StopAfter(const OpenPresentation& presentation, const RunningShow& show);
ShowStop StopBefore(const OpenPresentation& presentation, const RunningShow& show);
// SlideShowView.CurrentShowPosition: how many stops up to and including the current one; on the
// end screen one past the last; 0 outside its custom show (a guess).
int CurrentShowPosition(const OpenPresentation& presentation, const RunningShow& show);

}  // namespace pptsim

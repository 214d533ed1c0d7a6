#include "sim/ShowRange.h"

#include <algorithm>

namespace pptsim {
namespace {

int RangeStart(const OpenPresentation& presentation) {
    return presentation.rangeStart > 0 ? presentation.rangeStart : 1;
}

int RangeEnd(const OpenPresentation& presentation) {
    return presentation.rangeEnd > 0 ? std::min(presentation.rangeEnd, presentation.SlideCount())
                                     : presentation.SlideCount();
}

}  // namespace

bool IsShown(const OpenPresentation& presentation, int position) {
    return position >= RangeStart(presentation) && position <= RangeEnd(presentation) &&
           !presentation.slides[static_cast<std::size_t>(position - 1)].hidden;
}

int FirstShown(const OpenPresentation& presentation) {
    return ShownAfter(presentation, 0);
}

int LastShown(const OpenPresentation& presentation) {
    return ShownBefore(presentation, presentation.SlideCount() + 1);
}

int ShownAfter(const OpenPresentation& presentation, int position) {
    for (int next = position + 1; next <= presentation.SlideCount(); ++next) {
        if (IsShown(presentation, next)) {
            return next;
        }
    }
    return 0;
}

int ShownBefore(const OpenPresentation& presentation, int position) {
    for (int previous = std::min(position, presentation.SlideCount() + 1) - 1; previous >= 1;
         --previous) {
        if (IsShown(presentation, previous)) {
            return previous;
        }
    }
    return 0;
}

int ShowPositionOf(const OpenPresentation& presentation, int position) {
    int count = 0;
    for (int shown = FirstShown(presentation); shown != 0 && shown <= position;
         shown = ShownAfter(presentation, shown)) {
        ++count;
    }
    return count;
}

}  // namespace pptsim

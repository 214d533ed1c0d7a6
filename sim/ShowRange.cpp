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

std::vector<int> NamedShowSlides(const OpenPresentation& presentation, const std::wstring& name) {
    std::vector<int> positions;
    for (const NamedShow& show : presentation.namedShows) {
        if (show.name == name) {
            for (int slideId : show.slideIds) {
                if (const int position = presentation.PositionOf(slideId)) {
                    positions.push_back(position);
                }
            }
            break;
        }
    }
    return positions;
}

int StepOf(const std::vector<int>& slides, int slide) {
    const auto found = std::find(slides.begin(), slides.end(), slide);
    return found == slides.end() ? kOutsideNamedShow : static_cast<int>(found - slides.begin());
}

namespace {

// The deck's slide beside an outside one, with its stop in the custom show if it has one.
ShowStop BesideOutside(const OpenPresentation& presentation, const RunningShow& show, int step) {
    const int slide = show.slide + step;
    if (slide < 1 || slide > presentation.SlideCount()) {
        return {};
    }
    return {slide, StepOf(NamedShowSlides(presentation, show.namedShow), slide)};
}

// The stop at an index of the custom show's list; none outside it.
ShowStop NamedStop(const std::vector<int>& slides, int step) {
    if (step < 0 || step >= static_cast<int>(slides.size())) {
        return {};
    }
    return {slides[static_cast<std::size_t>(step)], step};
}

}  // namespace

ShowStop FirstStop(const OpenPresentation& presentation, const RunningShow& show) {
    if (show.namedShow.empty()) {
        return {FirstShown(presentation), 0};
    }
    return NamedStop(NamedShowSlides(presentation, show.namedShow), 0);
}

ShowStop LastStop(const OpenPresentation& presentation, const RunningShow& show) {
    if (show.namedShow.empty()) {
        return {LastShown(presentation), 0};
    }
    const std::vector<int> slides = NamedShowSlides(presentation, show.namedShow);
    return NamedStop(slides, static_cast<int>(slides.size()) - 1);
}

ShowStop StopAfter(const OpenPresentation& presentation, const RunningShow& show) {
    if (show.namedShow.empty()) {
        return {ShownAfter(presentation, show.slide), 0};
    }
    if (show.step == kOutsideNamedShow) {
        return BesideOutside(presentation, show, 1);
    }
    return NamedStop(NamedShowSlides(presentation, show.namedShow), show.step + 1);
}

ShowStop StopBefore(const OpenPresentation& presentation, const RunningShow& show) {
    if (show.namedShow.empty()) {
        return {ShownBefore(presentation, show.slide), 0};
    }
    if (show.step == kOutsideNamedShow) {
        return BesideOutside(presentation, show, -1);
    }
    return NamedStop(NamedShowSlides(presentation, show.namedShow), show.step - 1);
}

int CurrentShowPosition(const OpenPresentation& presentation, const RunningShow& show) {
    if (!show.namedShow.empty() && show.step == kOutsideNamedShow) {
        return 0;
    }
    const int position =
        show.namedShow.empty() ? ShowPositionOf(presentation, show.slide) : show.step + 1;
    return position + (show.ended ? 1 : 0);
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

// Which object of the simulated PowerPoint a dispatch object stands for. Objects only name what
// they refer to; the state itself lives in the model, so a closed presentation or an ended show
// is noticed at the next call.
#pragma once

#include <cstdint>

namespace pptsim {

enum class ObjectKind {
    Application,
    Presentations,
    Presentation,
    Slides,
    SlideShowSettings,
    SlideShowWindows,
    SlideShowWindow,
    SlideShowView,
    Slide,
    DocumentWindows,
    DocumentWindow,
    Shapes,
    Shape,
    TextFrame,
    TextRange,
    PageSetup,
    SlideShowTransition,
    ProtectedViewWindows,
    ProtectedViewWindow,
    NamedSlideShows,
    NamedSlideShow,
    TimeLine,
    Sequence,
    Effect,
};

const char* ObjectKindName(ObjectKind kind);

struct ObjectRef {
    ObjectKind kind;
    std::uint64_t instance;  // which run of PowerPoint the object belongs to
    std::uint64_t presentationId = 0;
    std::uint64_t showId = 0;
    int slideId = 0;  // Slide.SlideID of a slide or a part of one
    std::uint64_t namedShowId = 0;
};

}  // namespace pptsim

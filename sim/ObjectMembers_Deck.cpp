// Making a deck: adding presentations and slides, slide titles, saving and closing.
#include "sim/MemberHandlers.h"

#include "sim/DeckFile.h"

namespace pptsim::members {

// Add([WithWindow]): msoTrue (the default) shows the new presentation and makes it active.
HRESULT PresentationsAdd(MemberCall& call) {
    std::int64_t withWindow = -1;
    if (!call.arguments.empty() && !ReadInteger(*call.arguments[0], withWindow)) {
        return DISP_E_TYPEMISMATCH;
    }
    const OpenPresentation& added = call.state.AddUntitled(withWindow != 0, call.frames);
    return ReturnObject(call, {ObjectKind::Presentation, 0, added.id});
}

HRESULT PresentationName(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        const std::size_t separator = presentation.fullName.find_last_of(L"\\/");
        return ReturnText(call, separator == std::wstring::npos
                                    ? presentation.fullName
                                    : presentation.fullName.substr(separator + 1));
    });
}

// SaveAs(FileName, [FileFormat], [EmbedTrueTypeFonts]): overwrites without asking; the
// format is accepted and the simulation's own deck file written.
HRESULT PresentationSaveAs(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](OpenPresentation& presentation) {
        std::wstring path;
        if (!ReadText(*call.arguments[0], path)) {
            return DISP_E_TYPEMISMATCH;
        }
        if (path.empty() || !WriteDeckFile(path, presentation)) {
            return Raise(call, L"Presentation.SaveAs : PowerPoint can't save ^0 to ^1.");
        }
        presentation.fullName = presentation.path = path;
        return S_OK;
    });
}

// Close(): at once, without asking to save; PowerPoint keeps running for its automation client.
HRESULT PresentationClose(MemberCall& call) {
    if (!call.state.Close(call.self.presentationId, call.frames)) {
        return Raise(call, kNoObject);
    }
    return S_OK;
}

// Add(Index, Layout): Index from 1 to Count + 1; the layouts are PpSlideLayout's 1 to 36.
HRESULT SlidesAdd(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](OpenPresentation& presentation) {
        std::int64_t index = 0;
        std::int64_t layout = 0;
        if (!ReadInteger(*call.arguments[0], index) || !ReadInteger(*call.arguments[1], layout)) {
            return DISP_E_TYPEMISMATCH;
        }
        if (index < 1 || index > presentation.SlideCount() + 1) {
            return Raise(call, L"Slides.Add : Index out of bounds.");
        }
        if (layout < 1 || layout > 36) {
            return Raise(call, L"Slides.Add : Invalid enumeration value.");
        }
        const SlideContent& added =
            presentation.InsertSlide(static_cast<int>(index), static_cast<int>(layout));
        return ReturnObject(call, {ObjectKind::Slide, 0, presentation.id, 0, added.id});
    });
}

// The slide a slide, its shapes or its title's text belong to; null once it is gone.
SlideContent* SlideOfCall(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    const int position = presentation != nullptr ? presentation->PositionOf(call.self.slideId) : 0;
    return position != 0 ? &presentation->slides[static_cast<std::size_t>(position - 1)] : nullptr;
}

HRESULT ShapesTitle(MemberCall& call) {
    return IfExists(call, SlideOfCall(call), [&](const SlideContent& slide) {
        if (slide.layout == kLayoutBlank) {
            return Raise(call,
                         L"Shapes.Title : Invalid request.  This placeholder does not exist.");
        }
        return ReturnPartOfSlide<ObjectKind::Shape>(call);
    });
}

HRESULT TextRangeText(MemberCall& call) {
    return IfExists(call, SlideOfCall(call), [&](SlideContent& slide) {
        if (!call.put) {
            return ReturnText(call, slide.title);
        }
        return ReadText(*call.arguments[0], slide.title) ? S_OK : DISP_E_TYPEMISMATCH;
    });
}
}  // namespace pptsim::members

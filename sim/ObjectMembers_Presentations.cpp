// The application, its presentations and their document windows.
#include "sim/MemberHandlers.h"

namespace pptsim::members {

// Fails as well while a Protected View window is the active one (inferred: its deck is no
// presentation of the Presentations collection).
HRESULT ApplicationActivePresentation(MemberCall& call) {
    OpenPresentation* active = call.state.ActivePresentation();
    if (active == nullptr || active->protectedView) {
        return Raise(call,
                     L"Application.ActivePresentation : Invalid request.  There is no "
                     L"active presentation.");
    }
    return ReturnObject(call, {ObjectKind::Presentation, 0, active->id});
}

HRESULT ApplicationPresentations(MemberCall& call) {
    return ReturnObject(call, {ObjectKind::Presentations, 0});
}

HRESULT ApplicationSlideShowWindows(MemberCall& call) {
    return ReturnObject(call, {ObjectKind::SlideShowWindows, 0});
}

// PowerPoint 2016 and later (Microsoft 365 included) all answer "16.0".
HRESULT ApplicationVersion(MemberCall& call) {
    return ReturnText(call, L"16.0");
}

// ---- Presentations ------------------------------------------------------------------------
// Decks in Protected View are left out.
HRESULT PresentationsCount(MemberCall& call) {
    return ReturnListedCount(call, false);
}

HRESULT PresentationsItem(MemberCall& call) {
    return ReturnListedItem(call, false, ObjectKind::Presentation);
}

// Open(FileName, [ReadOnly], [Untitled], [WithWindow]): the optional flags are accepted and
// every presentation opens in a window.
HRESULT PresentationsOpen(MemberCall& call) {
    const VARIANT& fileName = *call.arguments[0];
    if (fileName.vt != VT_BSTR) {
        return DISP_E_TYPEMISMATCH;
    }
    const std::wstring path(fileName.bstrVal != nullptr ? fileName.bstrVal : L"",
                            SysStringLen(fileName.bstrVal));
    OpenPresentation* opened = call.state.Open(path, call.frames);
    if (opened == nullptr) {
        return Raise(call, L"Presentations.Open : PowerPoint could not open the file.");
    }
    return ReturnObject(call, {ObjectKind::Presentation, 0, opened->id});
}

// ---- Presentation and what hangs off it -----------------------------------------------------
HRESULT PresentationFullName(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnText(call, presentation.fullName);
    });
}

// MsoTriState (documented): msoTrue for a file opened read-only, a second copy among them.
HRESULT PresentationReadOnly(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnInteger(call, presentation.readOnly ? -1 : 0);
    });
}

HRESULT PresentationSlides(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::Slides);
}

HRESULT PresentationSlideShowSettings(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::SlideShowSettings);
}

HRESULT PresentationWindows(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::DocumentWindows);
}

HRESULT PresentationSlideShowWindow(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnShowWindow(call, call.state.ShowOf(presentation.id),
                                L"Presentation.SlideShowWindow : Object does not exist.");
    });
}

HRESULT SlidesCount(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnInteger(call, presentation.SlideCount());
    });
}

// Runs with the saved settings: from the first slide of the range that is not hidden.
HRESULT SlideShowSettingsRun(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnShowWindow(call, call.state.RunShow(presentation.id),
                                L"SlideShowSettings.Run : No slides to show.");
    });
}

// One window per presentation; a deck in Protected View has its ProtectedViewWindow instead.
HRESULT DocumentWindowsItem(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        std::size_t position = 0;
        const HRESULT read = ReadItemIndex(call, presentation.protectedView ? 0 : 1, position);
        return FAILED(read) ? read
                            : ReturnObject(call, {ObjectKind::DocumentWindow, 0, presentation.id});
    });
}

HRESULT DocumentWindowActivate(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        call.state.Activate(presentation.id, call.frames);
        return S_OK;
    });
}

// PpWindowState, read and written (documented). The frame follows once the call is done:
// restoring a minimised window (1 or 3) brings its frame back, traced as a restore.
HRESULT DocumentWindowWindowState(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return IntegerProperty(call, presentation.windowState, [&](std::int64_t windowState) {
            if (windowState < kWindowNormal || windowState > kWindowMaximized) {
                return Raise(call, L"DocumentWindow.WindowState : Value out of range.");
            }
            call.frames.windowStates.push_back({presentation.id, static_cast<int>(windowState)});
            return S_OK;
        });
    });
}

}  // namespace pptsim::members

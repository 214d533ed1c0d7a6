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
    return ReturnInteger(call, static_cast<std::int64_t>(call.state.Listed(false).size()));
}

HRESULT PresentationsItem(MemberCall& call) {
    const std::vector<const OpenPresentation*> listed = call.state.Listed(false);
    std::size_t position = 0;
    const HRESULT read = ReadItemIndex(call, listed.size(), position);
    if (FAILED(read)) {
        return read;
    }
    return ReturnObject(call, {ObjectKind::Presentation, 0, listed[position]->id});
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
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    return presentation != nullptr ? ReturnText(call, presentation->fullName)
                                   : Raise(call, kNoObject);
}

// MsoTriState (documented): msoTrue for a file opened read-only, a second copy among them.
HRESULT PresentationReadOnly(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    return presentation != nullptr ? ReturnInteger(call, presentation->readOnly ? -1 : 0)
                                   : Raise(call, kNoObject);
}

namespace {

HRESULT ReturnPartOfPresentation(MemberCall& call, ObjectKind kind) {
    if (call.state.FindPresentation(call.self.presentationId) == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnObject(call, {kind, 0, call.self.presentationId});
}

}  // namespace

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
    if (call.state.FindPresentation(call.self.presentationId) == nullptr) {
        return Raise(call, kNoObject);
    }
    RunningShow* show = call.state.ShowOf(call.self.presentationId);
    if (show == nullptr) {
        return Raise(call, L"Presentation.SlideShowWindow : Object does not exist.");
    }
    return ReturnObject(call, {ObjectKind::SlideShowWindow, 0, show->presentationId, show->id});
}

HRESULT SlidesCount(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    return presentation != nullptr ? ReturnInteger(call, presentation->SlideCount())
                                   : Raise(call, kNoObject);
}

HRESULT SlideShowSettingsRun(MemberCall& call) {
    OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    // Runs with the saved settings: from the first slide of the range that is not hidden.
    RunningShow* show = call.state.RunShow(presentation->id);
    if (show == nullptr) {
        return Raise(call, L"SlideShowSettings.Run : No slides to show.");
    }
    return ReturnObject(call, {ObjectKind::SlideShowWindow, 0, show->presentationId, show->id});
}

HRESULT DocumentWindowsItem(MemberCall& call) {
    const OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    // One window per presentation; a deck in Protected View has its ProtectedViewWindow instead.
    std::size_t position = 0;
    const HRESULT read = ReadItemIndex(call, presentation->protectedView ? 0 : 1, position);
    if (FAILED(read)) {
        return read;
    }
    return ReturnObject(call, {ObjectKind::DocumentWindow, 0, call.self.presentationId});
}

HRESULT DocumentWindowActivate(MemberCall& call) {
    if (call.state.FindPresentation(call.self.presentationId) == nullptr) {
        return Raise(call, kNoObject);
    }
    call.state.Activate(call.self.presentationId, call.frames);
    return S_OK;
}

// PpWindowState, read and written (documented). The frame follows once the call is done:
// restoring a minimised window (1 or 3) brings its frame back, traced as a restore.
HRESULT DocumentWindowWindowState(MemberCall& call) {
    const OpenPresentation* presentation = call.state.FindPresentation(call.self.presentationId);
    if (presentation == nullptr) {
        return Raise(call, kNoObject);
    }
    return IntegerProperty(call, presentation->windowState, [&](std::int64_t windowState) {
        if (windowState < kWindowNormal || windowState > kWindowMaximized) {
            return Raise(call, L"DocumentWindow.WindowState : Value out of range.");
        }
        call.frames.windowStates.push_back({presentation->id, static_cast<int>(windowState)});
        return S_OK;
    });
}

}  // namespace pptsim::members

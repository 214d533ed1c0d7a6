// Decks open in Protected View (an e-mail attachment, a download): their windows, which
// Application.ProtectedViewWindows lists instead of Presentations, and leaving the view for
// editing, the presenter's decision.
#include "sim/MemberHandlers.h"

namespace pptsim::members {
namespace {

OpenPresentation* ProtectedPresentationOfCall(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    return presentation != nullptr && presentation->protectedView ? presentation : nullptr;
}

}  // namespace

HRESULT ApplicationProtectedViewWindows(MemberCall& call) {
    return ReturnObject(call, {ObjectKind::ProtectedViewWindows, 0});
}

HRESULT ProtectedViewWindowsCount(MemberCall& call) {
    return ReturnListedCount(call, true);
}

HRESULT ProtectedViewWindowsItem(MemberCall& call) {
    return ReturnListedItem(call, true, ObjectKind::ProtectedViewWindow);
}

// The deck in the window, read-only as Protected View keeps it.
HRESULT ProtectedViewWindowPresentation(MemberCall& call) {
    if (ProtectedPresentationOfCall(call) == nullptr) {
        return Raise(call, kNoObject);
    }
    return ReturnObject(call, {ObjectKind::Presentation, 0, call.self.presentationId});
}

// Edit([ModifyPassword]): the window closes and the deck opens for editing in a window of its
// own, joining Presentations as the active presentation.
HRESULT ProtectedViewWindowEdit(MemberCall& call) {
    if (ProtectedPresentationOfCall(call) == nullptr) {
        return Raise(call, kNoObject);
    }
    call.state.LeaveProtectedView(call.self.presentationId, call.frames);
    return ReturnObject(call, {ObjectKind::Presentation, 0, call.self.presentationId});
}

// Makes the window PowerPoint's active one, so ActivePresentation fails from then on; leaves the
// frames' Z order, as DocumentWindow.Activate does.
HRESULT ProtectedViewWindowActivate(MemberCall& call) {
    if (ProtectedPresentationOfCall(call) == nullptr) {
        return Raise(call, kNoObject);
    }
    call.state.Activate(call.self.presentationId, call.frames);
    return S_OK;
}

HRESULT ProtectedViewWindowClose(MemberCall& call) {
    if (ProtectedPresentationOfCall(call) == nullptr ||
        !call.state.Close(call.self.presentationId, call.frames)) {
        return Raise(call, kNoObject);
    }
    return S_OK;
}

}  // namespace pptsim::members

// Whether late-bound calls went unanswered: turned away by a busy server until their budget ran
// out, or never made because the job's submitter gave up or the call would have begun too late.
// Such a call says nothing about what PowerPoint shows, unlike one PowerPoint answered with a
// failure ("no such object"), so a reader that met one knows nothing rather than "none".
#pragma once

#include "platform/Platform.h"

// Records for the calling thread whether the result of a call leaves it unanswered.
void NoteUnansweredCall(HRESULT result);
// Whether a call on the calling thread went unanswered since the last take.
bool TakeUnansweredCalls();

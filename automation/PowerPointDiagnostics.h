// What happened to PowerPoint itself, as the worker finds it: written to the plug-in's
// diagnostics file (support/DiagnosticsFile.h) at once, one line each.
#pragma once

#include <string>

#include "platform/Platform.h"

// The ProgID lookup failed: PowerPoint is not installed, or not registered for automation.
void NotePowerPointNotRegistered(HRESULT lookup);
// Creating PowerPoint's application object failed.
void NotePowerPointNotCreatable(HRESULT creation);
// A call found PowerPoint gone; the reference to it is let go.
void NotePowerPointGone();
// After it was let go, PowerPoint was found running and attached to.
void NotePowerPointAttachedAgain();
// None running, PowerPoint was started for a load press.
void NotePowerPointStartedForLoad();
// Activation was refused while PowerPoint's frame shows (IsActivationRefused): the line names
// the causes it may have. The worker writes it when the refusal begins.
void NotePowerPointActivationRefused(HRESULT creation);
// The show the play key started reads Active msoFalse after SlideShowWindow.Activate: the
// presenter's keys go to the program in front.
void NoteShowWithoutKeyboard();

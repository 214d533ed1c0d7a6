// Texts the automation layer composes when a PowerPoint call fails, each one line without a line
// end. The worker's commands write them to the plug-in's diagnostics file (CommandDiagnostics.h);
// a call made outside any command (tools, tests) writes its text to standard error only when the
// developer opts in with the environment variable GLYPHPAD_DEBUG=1. The user only ever sees a
// key's alert.
#pragma once

#include <string>

#include "platform/Platform.h"

// "IDispatch::GetIDsOfNames("<name>") failed w/err 0x<hr>", at most 255 bytes.
std::string ComposeNameLookupFailure(const char* ansiName, HRESULT error);
// "IDispatch::Invoke("<name>"=<dispid>) failed w/err 0x<hr>", at most 255 bytes.
std::string ComposeInvokeFailure(const char* ansiName, DISPID member, HRESULT error);
// "Power Point not registered properly. Error:" with the error code, at most 99 bytes.
std::string ComposeApplicationCreationFailure(HRESULT error);

// Writes the text as a line to standard error when GLYPHPAD_DEBUG=1 asks for diagnostics there;
// otherwise does nothing.
void EmitDiagnostic(const std::string& text);

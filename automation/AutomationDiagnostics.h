// Texts the automation layer composes when a PowerPoint call fails. They are shown nowhere
// unless the developer opts in with the environment variable GLYPHPAD_DEBUG=1, which sends
// them to standard error; the user only ever sees a key's alert.
#pragma once

#include <string>

#include "platform/Platform.h"

// "IDispatch::GetIDsOfNames("<name>") failed w/err 0x<hr>", at most 255 bytes.
std::string ComposeNameLookupFailure(const char* ansiName, HRESULT error);
// "IDispatch::Invoke("<name>"=<dispid>) failed w/err 0x<hr>", at most 255 bytes.
std::string ComposeInvokeFailure(const char* ansiName, DISPID member, HRESULT error);
// "Power Point not registered properly. Error:" with the error code, at most 99 bytes.
std::string ComposeApplicationCreationFailure(HRESULT error);

bool DiagnosticsEnabled();
// Writes the text to standard error when diagnostics are enabled; otherwise does nothing.
void EmitDiagnostic(const std::string& text);

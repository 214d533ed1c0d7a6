// HRESULTs by the names Microsoft's headers give them, for diagnostics a person reads: the codes
// that calls into PowerPoint and COM's activation of it are known to return.
#pragma once

#include <string>

#include "platform/Platform.h"

// The text followed by the code's name in parentheses ("... (RPC_E_CALL_REJECTED)"), or the text
// alone for a code without a known name.
std::string WithHResultName(std::string text, HRESULT code);
// "0x80010001 (RPC_E_CALL_REJECTED)" for a named code, "0x80048240" for any other (lower-case
// hexadecimal, as the composed call texts write codes).
std::string DescribeHResult(HRESULT code);

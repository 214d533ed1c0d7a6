// Reaching PowerPoint's application object: its class looked up by ProgID, then created (or
// joined, when PowerPoint runs already) as a local server. Call inside a COM apartment.
#pragma once

#include "platform/DispatchPtr.h"
#include "platform/Platform.h"

struct PowerPointActivation {
    HRESULT lookup = E_UNEXPECTED;    // the ProgID lookup
    HRESULT creation = E_UNEXPECTED;  // the creation; not tried when the lookup failed
    DispatchPtr application;          // none unless both succeeded
};

PowerPointActivation ActivatePowerPoint();

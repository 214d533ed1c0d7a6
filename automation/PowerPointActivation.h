// Reaching PowerPoint's application object: its class looked up by ProgID, then created (or
// joined, when PowerPoint runs already) as a local server. Call inside a COM apartment.
#pragma once

#include "platform/DispatchPtr.h"
#include "platform/Platform.h"

struct PowerPointActivation {
    HRESULT lookup = E_UNEXPECTED;    // the ProgID lookup
    CLSID classId{};                  // what it found
    HRESULT creation = E_UNEXPECTED;  // the creation; not tried when the lookup failed
    DispatchPtr application;          // none unless both succeeded
};

PowerPointActivation ActivatePowerPoint();

// PowerPoint again, once the reference to it has been let go: the running PowerPoint when there
// is one (from the running object table, without starting it), otherwise, when mayStart,
// started as at first. None when neither worked.
DispatchPtr ReacquirePowerPoint(const CLSID& classId, bool mayStart);

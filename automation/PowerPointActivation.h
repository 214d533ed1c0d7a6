// Reaching PowerPoint's application object: its class looked up by ProgID, then created (or
// joined, when PowerPoint runs already) as a local server. Call inside a COM apartment.
//
// Every creation is counted while it runs (PowerPointStarts), because COM may be starting
// PowerPoint meanwhile: the way out of the process asks before it ends.
#pragma once

#include <atomic>

#include "platform/DispatchPtr.h"
#include "platform/Platform.h"

// The creations of PowerPoint's application object under way; read from any thread.
class PowerPointStarts {
public:
    bool AnyUnderWay() const { return underWay.load() > 0; }

    // Counts one creation for as long as it lives.
    class Scope {
    public:
        explicit Scope(PowerPointStarts& starts) : starts(starts) { ++starts.underWay; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope() { --starts.underWay; }

    private:
        PowerPointStarts& starts;
    };

private:
    std::atomic<int> underWay{0};
};

struct PowerPointActivation {
    HRESULT lookup = E_UNEXPECTED;    // the ProgID lookup
    CLSID classId{};                  // what it found
    HRESULT creation = E_UNEXPECTED;  // the creation; not tried when the lookup failed
    DispatchPtr application;          // none unless both succeeded
};

PowerPointActivation ActivatePowerPoint(PowerPointStarts& starts);
// For a caller that counts no starts (a tool that ends only when its work is done).
PowerPointActivation ActivatePowerPoint();

// PowerPoint again, once the reference to it has been let go: the running PowerPoint when there
// is one (from the running object table, without starting it), otherwise, when mayStart,
// started as at first. None when neither worked.
DispatchPtr ReacquirePowerPoint(const CLSID& classId, bool mayStart, PowerPointStarts& starts);

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

// How far reaching PowerPoint again may go, for the command that needs it.
enum class Reach {
    Attach,             // only a PowerPoint in the running object table
    AttachOrJoin,       // or, while one of its frames shows, the running one through activation
    AttachJoinOrStart,  // or start one, where none runs (opening a presentation)
};

struct Reacquisition {
    DispatchPtr application;     // none when nothing was reached
    HRESULT creation = S_FALSE;  // the activation's outcome; S_FALSE when none was tried
};

// PowerPoint again, once the reference to it has been let go: the running PowerPoint from the
// running object table, without starting it; failing that, as far as reach allows, through
// activation. Office enters the table only once it has lost the focus (KB 238610), so a
// PowerPoint the presenter just started and kept in front shows only by its frame; activation
// then reaches that running one (PowerPoint runs as one instance) and starts nothing.
Reacquisition ReacquirePowerPoint(const CLSID& classId, Reach reach, PowerPointStarts& starts);

// Whether activation was refused rather than failed for want of PowerPoint: the server could not
// be started or joined (CO_E_SERVER_EXEC_FAILURE) or access was denied (E_ACCESSDENIED). While
// PowerPoint's frame shows, that is a PowerPoint still starting or showing a dialog, or one that
// runs at another integrity level than the plug-in (one of them run as administrator), across
// which COM does not bind.
bool IsActivationRefused(HRESULT creation);

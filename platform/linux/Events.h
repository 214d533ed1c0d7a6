// The Linux stand-in's event objects, behind CreateEventW, SetEvent, ResetEvent, CloseHandle and
// the waits. As on Windows, a set event stays set until a wait takes it (auto-reset) or ResetEvent
// clears it (manual reset), so a SetEvent that comes before the wait is never lost. Linux only.
#pragma once

#include <map>

#include "platform/Platform.h"

class Events {
public:
    static Events& Instance();

    HANDLE Create(bool manualReset, bool initiallySet);
    bool Set(HANDLE event);
    bool Reset(HANDLE event);
    bool Close(HANDLE event);

    // With SharedWait's lock held. Whether the handle is an event at all.
    bool ExistsLocked(HANDLE event) const;
    // With SharedWait's lock held. True when the event is set; an auto-reset event is cleared by
    // the taking, as a satisfied wait clears it on Windows.
    bool TakeLocked(HANDLE event);

private:
    struct Event {
        bool manualReset = false;
        bool set = false;
    };

    Events() = default;

    std::map<HANDLE, Event> events;
    std::uintptr_t lastHandle = 0x1000;
};

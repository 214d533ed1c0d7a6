// Stand-ins for the event calls (kernel32) over the shared wait.
#include "platform/linux/Events.h"

#include <chrono>

#include "platform/linux/SharedWait.h"

Events& Events::Instance() {
    // Never destroyed: threads that outlive main may still set or wait.
    static Events* const instance = new Events();
    return *instance;
}

HANDLE Events::Create(bool manualReset, bool initiallySet) {
    std::lock_guard<std::mutex> lock(SharedWait::Instance().mutex);
    // Handle values are multiples of four, as Windows hands them out.
    lastHandle += 4;
    HANDLE handle = reinterpret_cast<HANDLE>(lastHandle);
    events[handle] = Event{manualReset, initiallySet};
    return handle;
}

bool Events::Set(HANDLE event) {
    SharedWait& shared = SharedWait::Instance();
    std::lock_guard<std::mutex> lock(shared.mutex);
    auto found = events.find(event);
    if (found == events.end()) {
        return false;
    }
    found->second.set = true;
    shared.WakeEventWaitersLocked(event);
    return true;
}

bool Events::Reset(HANDLE event) {
    std::lock_guard<std::mutex> lock(SharedWait::Instance().mutex);
    auto found = events.find(event);
    if (found == events.end()) {
        return false;
    }
    found->second.set = false;
    return true;
}

bool Events::Close(HANDLE event) {
    std::lock_guard<std::mutex> lock(SharedWait::Instance().mutex);
    return events.erase(event) != 0;
}

bool Events::ExistsLocked(HANDLE event) const {
    return events.count(event) != 0;
}

bool Events::TakeLocked(HANDLE event) {
    auto found = events.find(event);
    if (found == events.end() || !found->second.set) {
        return false;
    }
    if (!found->second.manualReset) {
        found->second.set = false;
    }
    return true;
}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name) {
    // Security attributes and names mean nothing within one process; a named event is not
    // supported here rather than silently unshared.
    if (attributes != nullptr || name != nullptr) {
        return nullptr;
    }
    return Events::Instance().Create(manualReset != FALSE, initialState != FALSE);
}

BOOL SetEvent(HANDLE event) {
    return Events::Instance().Set(event) ? TRUE : FALSE;
}

BOOL ResetEvent(HANDLE event) {
    return Events::Instance().Reset(event) ? TRUE : FALSE;
}

BOOL CloseHandle(HANDLE handle) {
    return Events::Instance().Close(handle) ? TRUE : FALSE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
    SharedWait& shared = SharedWait::Instance();
    const WaitDeadline deadline(timeoutMs);
    std::unique_lock<std::mutex> lock(shared.mutex);
    for (;;) {
        Events& events = Events::Instance();
        if (!events.ExistsLocked(handle)) {
            return WAIT_FAILED;
        }
        if (events.TakeLocked(handle)) {
            return WAIT_OBJECT_0;
        }
        if (!deadline.WaitLocked(shared, lock, WaitReasons{&handle, 1, 0})) {
            return WAIT_TIMEOUT;
        }
    }
}

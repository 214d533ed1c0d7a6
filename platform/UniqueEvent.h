// Owner of one unnamed event object: created on construction, closed on destruction. Auto-reset
// unless asked otherwise: each SetEvent lets one wait through, and one set before the wait is kept
// for it.
#pragma once

#include "platform/Platform.h"

class UniqueEvent {
public:
    enum class Reset { Auto, Manual };

    explicit UniqueEvent(Reset reset = Reset::Auto)
        : handle(CreateEventW(nullptr, reset == Reset::Manual ? TRUE : FALSE, FALSE, nullptr)) {}
    UniqueEvent(const UniqueEvent&) = delete;
    UniqueEvent& operator=(const UniqueEvent&) = delete;
    ~UniqueEvent() {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }

    // Null when the event could not be created.
    HANDLE Get() const { return handle; }
    void Set() const { SetEvent(handle); }

private:
    HANDLE handle;
};

// The process that started this one.
#pragma once

#include <utility>

#include "platform/Platform.h"

namespace pptsim::server {

// Owner of a kernel handle: CloseHandle on destruction.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle(other.handle) { other.handle = nullptr; }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        std::swap(handle, other.handle);
        return *this;
    }
    ~UniqueHandle() {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
    HANDLE Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }

private:
    HANDLE handle = nullptr;
};

struct ParentProcess {
    // False when this process has no parent it could know of (started from outside Windows).
    bool known = false;
    DWORD id = 0;
    // Signalled when the parent ends; none when it is already gone.
    UniqueHandle handle;
};

ParentProcess OpenParentProcess();
// Another process to watch as a parent: the client of the server that started this one.
ParentProcess OpenWatchedProcess(DWORD id);

}  // namespace pptsim::server

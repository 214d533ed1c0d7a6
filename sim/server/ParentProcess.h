// The process that started this one.
#pragma once

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

// A handle that is signalled when the parent process ends, or none when the parent is already
// gone or cannot be opened.
UniqueHandle OpenParentProcess();

}  // namespace pptsim::server

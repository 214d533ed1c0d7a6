// Owner of one open registry key: RegCloseKey on destruction.
#pragma once

#include <utility>

#include "platform/Platform.h"

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept : key(std::exchange(other.key, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        std::swap(key, other.key);
        return *this;
    }
    ~RegistryKey() { Reset(); }

    void Reset() noexcept {
        if (HKEY old = std::exchange(key, nullptr)) {
            RegCloseKey(old);
        }
    }
    // For the out-parameter of RegOpenKeyExW and RegCreateKeyExW: closes what is held and
    // hands out the slot to fill.
    HKEY* Receive() noexcept {
        Reset();
        return &key;
    }
    HKEY Get() const noexcept { return key; }
    explicit operator bool() const noexcept { return key != nullptr; }

private:
    HKEY key = nullptr;
};

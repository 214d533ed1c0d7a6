// Owner of one BSTR: SysFreeString on destruction.
#pragma once

#include <string>
#include <utility>

#include "platform/Platform.h"

class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(const std::wstring& text) : text(SysAllocString(text.c_str())) {}
    static UniqueBstr Adopt(BSTR raw) {
        UniqueBstr owner;
        owner.text = raw;
        return owner;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    UniqueBstr(UniqueBstr&& other) noexcept : text(std::exchange(other.text, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        std::swap(text, other.text);
        return *this;
    }
    ~UniqueBstr() { SysFreeString(text); }

    BSTR Get() const { return text; }
    // Hands the string over to a new owner (for example a VARIANT that will free it).
    BSTR Release() { return std::exchange(text, nullptr); }

private:
    BSTR text = nullptr;
};

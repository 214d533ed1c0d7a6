// Owner of one VARIANT: VariantInit on construction, VariantClear on destruction, so the
// object reference or text it may hold is always released.
#pragma once

#include <utility>

#include "platform/Platform.h"

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    // The moved-from owner is left empty.
    UniqueVariant(UniqueVariant&& other) noexcept : value(other.value) {
        VariantInit(&other.value);
    }
    UniqueVariant& operator=(UniqueVariant&& other) noexcept {
        std::swap(value, other.value);
        return *this;
    }
    ~UniqueVariant() { VariantClear(&value); }

    VARIANT* Get() { return &value; }
    const VARIANT& operator*() const { return value; }
    const VARIANT* operator->() const { return &value; }

private:
    VARIANT value;
};

// Owner of one VARIANT: VariantInit on construction, VariantClear on destruction, so the
// object reference or text it may hold is always released.
#pragma once

#include "platform/Platform.h"

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&value); }

    VARIANT* Get() { return &value; }
    const VARIANT& operator*() const { return value; }
    const VARIANT* operator->() const { return &value; }

private:
    VARIANT value;
};

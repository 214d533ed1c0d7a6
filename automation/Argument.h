// One argument of a late-bound call: a VARIANT of a given type that owns what it holds (a text
// is freed with it). Copies are deep, so argument lists can be kept in tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

class Argument {
public:
    static Argument Integer(std::int32_t value) {
        Argument argument;
        argument.value.vt = VT_I4;
        argument.value.lVal = value;
        return argument;
    }
    static Argument ShortInteger(std::int16_t value) {
        Argument argument;
        argument.value.vt = VT_I2;
        argument.value.iVal = value;
        return argument;
    }
    static Argument Real(double value) {
        Argument argument;
        argument.value.vt = VT_R8;
        argument.value.dblVal = value;
        return argument;
    }
    // The text up to its first zero, as a BSTR made from a C string is.
    static Argument Text(const std::wstring& text) {
        Argument argument;
        argument.value.vt = VT_BSTR;
        argument.value.bstrVal = SysAllocString(text.c_str());
        return argument;
    }

    Argument(const Argument& other) : Argument() { VariantCopy(&value, Source(other)); }
    Argument& operator=(const Argument& other) {
        if (this != &other) {
            VariantCopy(&value, Source(other));
        }
        return *this;
    }
    ~Argument() { VariantClear(&value); }

    const VARIANT& Value() const { return value; }

private:
    Argument() { VariantInit(&value); }
    // MinGW declares VariantCopy's source without const; the copy only reads it.
    static VARIANT* Source(const Argument& other) { return const_cast<VARIANT*>(&other.value); }

    VARIANT value;
};

// The arguments of one call in the order the member declares its parameters.
using Arguments = std::vector<Argument>;

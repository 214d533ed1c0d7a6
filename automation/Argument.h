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
    // An object, such as a shape given to Sequence.AddEffect; the argument holds a reference.
    static Argument Object(IDispatch* object) {
        Argument argument;
        argument.value.vt = VT_DISPATCH;
        argument.value.pdispVal = object;
        if (object != nullptr) {
            object->AddRef();
        }
        return argument;
    }
    // An array of 32-bit integers from index 1, as VBA passes a `Dim ids(1 To n) As Long`
    // (NamedSlideShows.Add takes slide IDs so). Empty when the array cannot be made.
    static Argument IntegerArray(const std::vector<std::int32_t>& values) {
        Argument argument;
        SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 1, static_cast<ULONG>(values.size()));
        void* data = nullptr;
        if (array == nullptr || FAILED(SafeArrayAccessData(array, &data))) {
            SafeArrayDestroy(array);
            return argument;
        }
        for (std::size_t index = 0; index < values.size(); ++index) {
            static_cast<LONG*>(data)[index] = values[index];
        }
        SafeArrayUnaccessData(array);
        argument.value.vt = static_cast<VARTYPE>(VT_ARRAY | VT_I4);
        argument.value.parray = array;
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

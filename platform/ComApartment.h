// The calling thread's single-threaded COM apartment: CoInitialize on construction,
// CoUninitialize on destruction when the initialisation succeeded.
#pragma once

#include "platform/Platform.h"

class ComApartment {
public:
    ComApartment() : result(CoInitialize(nullptr)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
    bool Entered() const { return SUCCEEDED(result); }

private:
    HRESULT result;
};

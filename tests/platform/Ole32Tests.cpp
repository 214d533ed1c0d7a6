// COM initialisation and class lookup as the plug-in relies on them, for classes nobody
// registered. These hold for the Linux stand-ins and for the real ole32 alike.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Platform.h"

namespace {

// {6F1B0D9E-3C52-4A57-9E0B-2D8C5B7A4E10}: registered nowhere.
constexpr CLSID kUnregisteredClass = {
    0x6F1B0D9E, 0x3C52, 0x4A57, {0x9E, 0x0B, 0x2D, 0x8C, 0x5B, 0x7A, 0x4E, 0x10}};

HRESULT CreateUnregistered() {
    IDispatch* object = nullptr;
    const HRESULT created = CoCreateInstance(kUnregisteredClass, nullptr, CLSCTX_LOCAL_SERVER,
                                             IID_IDispatch, reinterpret_cast<void**>(&object));
    EXPECT_EQ(object, nullptr);
    return created;
}

TEST(Ole32, CoCreateInstance_NeedsTheCallingThreadsApartmentBeforeLookingUpTheClass) {
    HRESULT withoutApartment = S_OK;
    HRESULT first = S_OK;
    HRESULT nested = S_OK;
    HRESULT inside = S_OK;
    HRESULT afterLeaving = S_OK;
    std::thread([&] {
        withoutApartment = CreateUnregistered();
        first = CoInitialize(nullptr);
        nested = CoInitialize(nullptr);
        inside = CreateUnregistered();
        CoUninitialize();
        CoUninitialize();
        afterLeaving = CreateUnregistered();
    }).join();
    EXPECT_EQ(withoutApartment, CO_E_NOTINITIALIZED);
    EXPECT_EQ(first, S_OK);
    EXPECT_EQ(nested, S_FALSE);
    EXPECT_EQ(inside, REGDB_E_CLASSNOTREG);
    EXPECT_EQ(afterLeaving, CO_E_NOTINITIALIZED);
}

TEST(Ole32, CLSIDFromProgID_UnknownNamesAreNotClasses) {
    for (const wchar_t* progId : {L"Glyphpad.Nothing", L"PowerPoint.App", L""}) {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), CO_E_CLASSSTRING);
    }
}

}  // namespace

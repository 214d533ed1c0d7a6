// The registry calls as the plug-in and the simulation rely on them. These hold for the Linux
// stand-ins and for the real registry alike (under Wine: the prefix's); every test works below a
// key of its own and deletes it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RegistryKey.h"

namespace {

DWORD TextBytes(const std::wstring& text) {
    return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
}

LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          TextBytes(text));
}

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }

    std::wstring Below(const std::wstring& relative) const { return base + L"\\" + relative; }

    LSTATUS Create(const std::wstring& relative, RegistryKey& key, DWORD* disposition = nullptr,
                   REGSAM access = KEY_READ | KEY_WRITE) const {
        return RegCreateKeyExW(HKEY_CURRENT_USER, Below(relative).c_str(), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, access, nullptr, key.Receive(),
                               disposition);
    }

    LSTATUS Open(const std::wstring& relative, RegistryKey& key, REGSAM access = KEY_READ) const {
        return RegOpenKeyExW(HKEY_CURRENT_USER, Below(relative).c_str(), 0, access, key.Receive());
    }

    const std::wstring base = L"Software\\Glyphpad registry test " +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(std::random_device()());
};

TEST_F(RegistryTest, CreatedKeysOpenByNameInAnyCase_AndSayWhetherTheyAreNew) {
    RegistryKey key;
    DWORD disposition = 0;
    ASSERT_EQ(Create(L"Providers\\Personal", key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(Create(L"PROVIDERS\\personal", key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

    EXPECT_EQ(Open(L"providers\\PERSONAL", key), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    EXPECT_EQ(Open(L"Providers\\Business1", key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open(L"Missing\\Personal", key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, TextValuesReadBackWithTypeAndSize) {
    RegistryKey key;
    ASSERT_EQ(Create(L"Personal", key), ERROR_SUCCESS);
    const std::wstring mountPoint = L"C:\\Users\\ann\\OneDrive";
    ASSERT_EQ(SetText(key.Get(), L"MountPoint", L"first"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.Get(), L"MountPoint", mountPoint), ERROR_SUCCESS);  // replaces

    DWORD type = REG_NONE;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExW(key.Get(), L"mountpoint", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, TextBytes(mountPoint));

    std::vector<wchar_t> buffer(mountPoint.size() + 1, L'#');
    size = TextBytes(mountPoint) - 1;
    EXPECT_EQ(RegQueryValueExW(key.Get(), L"MountPoint", nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer.data()), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, TextBytes(mountPoint));

    ASSERT_EQ(RegQueryValueExW(key.Get(), L"MountPoint", nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer.data()), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(buffer.data()), mountPoint);
    EXPECT_EQ(size, TextBytes(mountPoint));

    EXPECT_EQ(RegQueryValueExW(key.Get(), L"UrlNamespace", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, EnumeratesEverySubkeyOnce_ThenNoMoreItems) {
    const std::vector<std::wstring> created{L"Personal", L"Business1", L"business2"};
    RegistryKey key;
    for (const std::wstring& name : created) {
        ASSERT_EQ(Create(L"Providers\\" + name, key), ERROR_SUCCESS);
    }
    RegistryKey providers;
    ASSERT_EQ(Open(L"Providers", providers), ERROR_SUCCESS);

    std::vector<std::wstring> listed;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        const LSTATUS status = RegEnumKeyExW(providers.Get(), index, name, &length, nullptr,
                                             nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(status, ERROR_SUCCESS);
        ASSERT_EQ(length, std::wstring(name).size());
        listed.emplace_back(name);
        ASSERT_LE(listed.size(), created.size());
    }
    std::vector<std::wstring> expected = created;
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);  // each under the name it was created with

    // The buffer counts the terminating zero: a name that fills it exactly does not fit.
    RegistryKey single;
    ASSERT_EQ(Create(L"Single\\Personal", key), ERROR_SUCCESS);
    ASSERT_EQ(Open(L"Single", single), ERROR_SUCCESS);
    wchar_t name[9];
    DWORD length = 8;
    EXPECT_EQ(RegEnumKeyExW(single.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    length = 9;
    ASSERT_EQ(RegEnumKeyExW(single.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(std::wstring(name), L"Personal");
}

TEST_F(RegistryTest, HandlesDoOnlyWhatTheyWereOpenedFor) {
    RegistryKey key;
    ASSERT_EQ(Create(L"Personal", key), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.Get(), L"MountPoint", L"C:\\Users\\ann\\OneDrive"), ERROR_SUCCESS);

    RegistryKey reading;
    ASSERT_EQ(Open(L"Personal", reading, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(SetText(reading.Get(), L"MountPoint", L"C:\\elsewhere"), ERROR_ACCESS_DENIED);

    RegistryKey writing;
    ASSERT_EQ(Open(L"Personal", writing, KEY_WRITE), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(writing.Get(), L"MountPoint", nullptr, nullptr, nullptr, &size),
              ERROR_ACCESS_DENIED);
    wchar_t name[256];
    DWORD length = 256;
    EXPECT_EQ(RegEnumKeyExW(writing.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, DeleteTreeTakesEverythingBelow) {
    RegistryKey deep;
    ASSERT_EQ(Create(L"Providers\\Personal\\Deeper", deep), ERROR_SUCCESS);
    ASSERT_EQ(SetText(deep.Get(), L"MountPoint", L"C:\\x"), ERROR_SUCCESS);
    RegistryKey providers;
    ASSERT_EQ(Create(L"Providers", providers), ERROR_SUCCESS);
    ASSERT_EQ(SetText(providers.Get(), L"Kept", L"no"), ERROR_SUCCESS);

    // Without a subkey: what lies below goes, the key itself stays.
    ASSERT_EQ(RegDeleteTreeW(providers.Get(), nullptr), ERROR_SUCCESS);
    RegistryKey key;
    EXPECT_EQ(Open(L"Providers", key), ERROR_SUCCESS);
    EXPECT_EQ(Open(L"Providers\\Personal", key), ERROR_FILE_NOT_FOUND);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(providers.Get(), L"Kept", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    // A handle still open to a deleted key fails, rather than reaching a key that is gone.
    EXPECT_EQ(RegQueryValueExW(deep.Get(), L"MountPoint", nullptr, nullptr, nullptr, &size),
              ERROR_KEY_DELETED);

    ASSERT_EQ(Create(L"Providers\\Business1", key), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Below(L"providers").c_str()), ERROR_SUCCESS);
    EXPECT_EQ(Open(L"Providers", key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Below(L"Providers").c_str()), ERROR_FILE_NOT_FOUND);
}

}  // namespace

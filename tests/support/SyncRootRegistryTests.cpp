// Reading the sync engine's folders, from a key of the test's own (on the Windows lane, in the
// Wine prefix's registry).
#include "support/SyncRootRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/Platform.h"
#include "platform/RegistryKey.h"

namespace {

class SyncRootRegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }

    // A text value; `terminated: false` leaves out the zero, as the registry allows.
    void Write(const std::wstring& subkey, const wchar_t* name, const std::wstring& text,
               bool terminated = true) {
        RegistryKey key;
        ASSERT_EQ(
            RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\" + subkey).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Receive(), nullptr),
            ERROR_SUCCESS);
        const auto bytes =
            static_cast<DWORD>((text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
        ASSERT_EQ(RegSetValueExW(key.Get(), name, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()), bytes),
                  ERROR_SUCCESS);
    }

    const std::wstring base = L"Software\\Glyphpad sync roots test " +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(std::random_device()());
};

TEST_F(SyncRootRegistryTest, ReadsEverySubkeyWithBothTexts) {
    Write(L"Personal", L"MountPoint", L"C:\\Users\\ann\\OneDrive");
    Write(L"Personal", L"UrlNamespace", L"https://d.docs.live.net/4f2a9c", false);
    Write(L"Business1", L"MountPoint", L"C:\\Users\\ann\\OneDrive - Contoso", false);
    Write(L"Business1", L"UrlNamespace",
          L"https://contoso-my.sharepoint.com/personal/ann_contoso_com/Documents/");
    Write(L"NoUrl", L"MountPoint", L"C:\\Users\\ann\\Elsewhere");
    Write(L"EmptyMountPoint", L"MountPoint", L"");
    Write(L"EmptyMountPoint", L"UrlNamespace", L"https://contoso.sharepoint.com/sites/Team");
    RegistryKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\Number").c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    const DWORD number = 7;
    ASSERT_EQ(RegSetValueExW(key.Get(), L"MountPoint", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
    Write(L"Number", L"UrlNamespace", L"https://contoso.sharepoint.com/sites/Team");

    std::vector<SyncRoot> roots = ReadSyncRoots(base.c_str());
    std::sort(roots.begin(), roots.end(), [](const SyncRoot& first, const SyncRoot& second) {
        return first.mountPoint < second.mountPoint;
    });
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0].mountPoint, L"C:\\Users\\ann\\OneDrive");
    EXPECT_EQ(roots[0].urlNamespace, L"https://d.docs.live.net/4f2a9c");
    EXPECT_EQ(roots[1].mountPoint, L"C:\\Users\\ann\\OneDrive - Contoso");
    EXPECT_EQ(roots[1].urlNamespace,
              L"https://contoso-my.sharepoint.com/personal/ann_contoso_com/Documents/");
}

TEST_F(SyncRootRegistryTest, NoKeyMeansNoRoots) {
    EXPECT_TRUE(ReadSyncRoots(base.c_str()).empty());
}

}  // namespace

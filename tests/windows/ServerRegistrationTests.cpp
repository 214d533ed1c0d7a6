// Registration of the simulated PowerPoint's server, against the registry of the Wine prefix.
// A ProgID of the tests' own keeps the lane's real registration untouched.
#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "sim/server/ServerRegistration.h"

namespace {

using pptsim::server::ClsidText;
using pptsim::server::RegisterServer;
using pptsim::server::UnregisterServer;

constexpr wchar_t kTestProgId[] = L"Glyphpad.RegistrationTest";
// {5E0B1C39-0D55-4C7E-9A43-6F2B7B0C1A01} and {5E0B1C39-0D55-4C7E-9A43-6F2B7B0C1A02}
constexpr CLSID kOurs = {
    0x5E0B1C39, 0x0D55, 0x4C7E, {0x9A, 0x43, 0x6F, 0x2B, 0x7B, 0x0C, 0x1A, 0x01}};
constexpr CLSID kOther = {
    0x5E0B1C39, 0x0D55, 0x4C7E, {0x9A, 0x43, 0x6F, 0x2B, 0x7B, 0x0C, 0x1A, 0x02}};

bool ReadDefault(const std::wstring& key, std::wstring& value) {
    wchar_t buffer[512] = {};
    DWORD bytes = sizeof buffer;
    const std::wstring path = L"Software\\Classes\\" + key;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer,
                     &bytes) != ERROR_SUCCESS) {
        return false;
    }
    value = buffer;
    return true;
}

bool KeyExists(const std::wstring& key) {
    HKEY opened = nullptr;
    const std::wstring path = L"Software\\Classes\\" + key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

std::wstring ClassKey(const CLSID& clsid) {
    return L"CLSID\\" + ClsidText(clsid);
}

class ServerRegistrationTest : public ::testing::Test {
protected:
    void TearDown() override {
        UnregisterServer(kOurs, kTestProgId);
        UnregisterServer(kOther, kTestProgId);
    }
};

TEST_F(ServerRegistrationTest, Register_WritesProgIdAndQuotedLocalServer) {
    ASSERT_TRUE(RegisterServer(kOurs, kTestProgId, L"C:\\Program Files\\sim\\pptsim-server.exe"));
    std::wstring value;
    ASSERT_TRUE(ReadDefault(std::wstring(kTestProgId) + L"\\CLSID", value));
    EXPECT_EQ(value, L"{5E0B1C39-0D55-4C7E-9A43-6F2B7B0C1A01}");
    ASSERT_TRUE(ReadDefault(ClassKey(kOurs) + L"\\LocalServer32", value));
    EXPECT_EQ(value, L"\"C:\\Program Files\\sim\\pptsim-server.exe\"");
    // COM finds the class through the ProgID, as the plug-in will look it up.
    CLSID found{};
    ASSERT_EQ(CLSIDFromProgID(kTestProgId, &found), S_OK);
    EXPECT_TRUE(IsEqualGUID(found, kOurs));
}

TEST_F(ServerRegistrationTest, Unregister_RemovesBothKeys) {
    ASSERT_TRUE(RegisterServer(kOurs, kTestProgId, L"C:\\sim.exe"));
    ASSERT_TRUE(UnregisterServer(kOurs, kTestProgId));
    EXPECT_FALSE(KeyExists(kTestProgId));
    EXPECT_FALSE(KeyExists(ClassKey(kOurs)));
    CLSID found{};
    EXPECT_EQ(CLSIDFromProgID(kTestProgId, &found), CO_E_CLASSSTRING);
    // Nothing left is not a failure: unregistering twice succeeds.
    EXPECT_TRUE(UnregisterServer(kOurs, kTestProgId));
}

TEST_F(ServerRegistrationTest, Unregister_LeavesAProgIdThatNamesAnotherClass) {
    // The ProgID now belongs to another server (a real PowerPoint, say): only our own class
    // key may go.
    ASSERT_TRUE(RegisterServer(kOurs, kTestProgId, L"C:\\sim.exe"));
    ASSERT_TRUE(RegisterServer(kOther, kTestProgId, L"C:\\other.exe"));
    EXPECT_TRUE(UnregisterServer(kOurs, kTestProgId));
    EXPECT_FALSE(KeyExists(ClassKey(kOurs)));
    std::wstring value;
    ASSERT_TRUE(ReadDefault(std::wstring(kTestProgId) + L"\\CLSID", value));
    EXPECT_EQ(value, ClsidText(kOther));
    EXPECT_TRUE(KeyExists(ClassKey(kOther)));
}

}  // namespace

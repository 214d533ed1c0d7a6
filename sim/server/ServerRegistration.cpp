#include "sim/server/ServerRegistration.h"

#include "platform/RegistryKey.h"

namespace pptsim::server {
namespace {

constexpr wchar_t kClassName[] = L"Simulated PowerPoint Application";

std::wstring ClassesPath(const std::wstring& relative) {
    return L"Software\\Classes\\" + relative;
}

bool WriteDefaultValue(const std::wstring& relative, const std::wstring& value) {
    RegistryKey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, ClassesPath(relative).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

// Whether the ProgID currently names this class (compared as GUIDs, so letter case and the
// registering tool do not matter).
bool ProgIdNames(const std::wstring& progId, const CLSID& clsid) {
    wchar_t buffer[64] = {};
    DWORD bytes = sizeof buffer;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, ClassesPath(progId + L"\\CLSID").c_str(), nullptr,
                     RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) {
        return false;
    }
    CLSID registered{};
    return SUCCEEDED(CLSIDFromString(buffer, &registered)) && IsEqualGUID(registered, clsid);
}

bool DeleteTree(const std::wstring& relative) {
    const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassesPath(relative).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::wstring ClassKey(const CLSID& clsid) {
    return L"CLSID\\" + ClsidText(clsid);
}

}  // namespace

std::wstring ClsidText(const CLSID& clsid) {
    wchar_t text[40] = {};
    const int length = StringFromGUID2(clsid, text, 40);
    return length > 0 ? std::wstring(text) : std::wstring();
}

bool RegisterServer(const CLSID& clsid, const std::wstring& progId,
                    const std::wstring& executablePath) {
    const std::wstring classKey = ClassKey(clsid);
    return WriteDefaultValue(classKey, kClassName) &&
           WriteDefaultValue(classKey + L"\\LocalServer32", L"\"" + executablePath + L"\"") &&
           WriteDefaultValue(classKey + L"\\ProgID", progId) &&
           WriteDefaultValue(progId, kClassName) &&
           WriteDefaultValue(progId + L"\\CLSID", ClsidText(clsid));
}

bool UnregisterServer(const CLSID& clsid, const std::wstring& progId) {
    bool removed = DeleteTree(ClassKey(clsid));
    if (ProgIdNames(progId, clsid)) {
        removed = DeleteTree(progId) && removed;
    }
    return removed;
}

}  // namespace pptsim::server

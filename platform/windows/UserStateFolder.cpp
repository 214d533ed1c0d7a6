#include "platform/UserStateFolder.h"

#include "platform/Platform.h"

std::wstring UserStateFolder() {
    const wchar_t* const name = L"LOCALAPPDATA";
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring folder(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, &folder[0], size);
    if (length == 0 || length >= size) {
        return {};
    }
    folder.resize(length);
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) {
        folder.pop_back();
    }
    return folder;
}

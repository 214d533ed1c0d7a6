// Wine's ntdll exports wine_get_version; Windows' does not.
#include "platform/ServerLaunch.h"

#include "platform/Platform.h"

bool LocalServersStartInClientProcess() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

#include "sim/server/ParentProcess.h"

#include <tlhelp32.h>

namespace pptsim::server {
namespace {

DWORD FindParentProcessId() {
    const HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (raw == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const UniqueHandle snapshot(raw);
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == self) {
            return entry.th32ParentProcessID;
        }
    }
    return 0;
}

}  // namespace

ParentProcess OpenParentProcess() {
    return OpenWatchedProcess(FindParentProcessId());
}

ParentProcess OpenWatchedProcess(DWORD id) {
    ParentProcess parent;
    if (id != 0) {
        parent.known = true;
        parent.id = id;
        parent.handle = UniqueHandle(OpenProcess(SYNCHRONIZE, FALSE, id));
    }
    return parent;
}

}  // namespace pptsim::server

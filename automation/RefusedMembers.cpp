#include "automation/RefusedMembers.h"

#include <set>

namespace {

// Per thread: each apartment thread talks to its own PowerPoint.
thread_local std::set<std::wstring> refused;

}  // namespace

bool IsPowerPointRefusing() {
    return !refused.empty();
}

void RememberRefusedMember(const std::wstring& member) {
    refused.insert(member);
}

void NoteMemberTaken(const std::wstring& member) {
    if (!refused.empty()) {
        refused.erase(member);
    }
}

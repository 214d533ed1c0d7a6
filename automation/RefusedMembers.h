// The members a busy PowerPoint turned away for a whole key press's bound, remembered per thread.
// While any is remembered, a call PowerPoint turns away fails at once instead of being tried
// again, so ten impatient presses during a dialog cost one bound, not ten, and none of them acts
// later. A member is forgotten once a call of it goes through again.
#pragma once

#include <string>

// Whether a call turned away now should fail at once.
bool IsPowerPointRefusing();
void RememberRefusedMember(const std::wstring& member);
// A call of the member went through (whatever its outcome).
void NoteMemberTaken(const std::wstring& member);

// Whether PowerPoint is refusing calls, as the calling apartment thread last found it. A busy
// PowerPoint (a dialog open, an autosave) turns calls away for the whole server, not per member,
// so one state serves all calls: set once a command was turned away for its whole bound, cleared
// by the next call of any member that goes through. While it is set, a call PowerPoint turns away
// fails at once instead of being tried again, so ten impatient presses during a dialog cost one
// bound, not ten, and none of them acts later.
#pragma once

bool IsPowerPointRefusing();
void NotePowerPointRefusing();
// A call went through (whatever its outcome).
void NotePowerPointAnswered();

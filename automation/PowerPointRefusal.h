// Whether PowerPoint is refusing calls, as the calling apartment thread last found it. A busy
// PowerPoint (a dialog open, an autosave) turns calls away for the whole server, not per member,
// so one state serves all calls: set once a command ended turned away after being turned away for
// most of the time it had, cleared by the next call of any member that goes through. While it is
// set, a call PowerPoint turns away fails at once instead of being tried again, so ten impatient
// presses during a dialog cost one bound, not ten, and none of them acts later.
#pragma once

bool IsPowerPointRefusing();
void NotePowerPointRefusing();
// A call went through (whatever its outcome).
void NotePowerPointAnswered();

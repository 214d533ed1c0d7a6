#include "automation/PowerPointRefusal.h"

namespace {

// Per thread: each apartment thread talks to its own PowerPoint.
thread_local bool refusing = false;

}  // namespace

bool IsPowerPointRefusing() {
    return refusing;
}

void NotePowerPointRefusing() {
    refusing = true;
}

void NotePowerPointAnswered() {
    refusing = false;
}

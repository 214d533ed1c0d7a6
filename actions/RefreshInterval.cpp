#include "actions/RefreshInterval.h"

int ChooseRefreshIntervalMs(const char* requested, int standardMs) noexcept {
    if (requested == nullptr || *requested == '\0') {
        return standardMs;
    }
    long value = 0;
    for (const char* digit = requested; *digit != '\0'; ++digit) {
        if (*digit < '0' || *digit > '9') {
            return standardMs;
        }
        value = value * 10 + (*digit - '0');
        if (value > standardMs) {
            return standardMs;
        }
    }
    return value >= 1 ? static_cast<int>(value) : standardMs;
}

#pragma once

#include <cstdio>
#include <cstdlib>

// A property that a fuzzed input broke: name it on stderr and abort, so that libFuzzer saves the
// input as a crash artifact.
#define FUZZ_REQUIRE(condition)                                                                   \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

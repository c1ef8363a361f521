// Invariant checks for the fuzz targets. A broken invariant prints what
// broke and aborts; libFuzzer reports that as a crash and keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                           \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                     \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

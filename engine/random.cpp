// The generator behind rand(): one state per thread, so concurrent engine calls never share it.
#include "random.h"

namespace {
thread_local uint32_t randomState = 1;
}

void SeedRandom(uint32_t seed) { randomState = seed; }

int32_t NextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int32_t>((randomState >> 16) & 0x7FFFu);
}

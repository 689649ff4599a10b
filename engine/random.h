// The script generator behind rand(): a per-thread linear congruential generator,
// state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF. Seeded once per run.
#pragma once
#include <cstdint>

void SeedRandom(uint32_t seed);
int32_t NextRandom();

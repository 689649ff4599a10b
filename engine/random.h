// The script generator behind rand(): a linear congruential generator,
// state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF. Each run has its own state
// (ScriptProgram::random), seeded once when the run starts.
#pragma once
#include <cstdint>

struct RandomState {
    uint32_t value = 1;
};

inline void SeedRandom(RandomState& state, uint32_t seed) { state.value = seed; }

inline int32_t NextRandom(RandomState& state) {
    state.value = state.value * 214013u + 2531011u;
    return static_cast<int32_t>((state.value >> 16) & 0x7FFFu);
}

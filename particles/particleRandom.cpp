#include "particles/particleRandom.h"

#include <cstdint>

static uint32_t randomState = 1; // linear congruential state, wraps modulo 2^32

int particleRandom() {
    randomState = randomState * 214013u + 2531011u;
    return (int)((randomState >> 16) & 0x7FFF);
}

void seedParticleRandom(unsigned int state) {
    randomState = state;
}

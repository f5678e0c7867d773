#pragma once

const int PARTICLE_RANDOM_MAX = 32767;

// Next value 0 .. PARTICLE_RANDOM_MAX of a fixed sequence: never seeded from the clock, so every
// run of the demo produces the same fountain.
int particleRandom();
// Restarts the sequence from the given state (1 at program start).
void seedParticleRandom(unsigned int state);

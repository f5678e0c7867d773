// Placeholder until the fountain lands.
#include "particles/particles.h"

Particle particles[PARTICLE_COUNT];
void initParticles() {}
void updateParticles() {}
void drawParticles() {}

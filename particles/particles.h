#pragma once

const int PARTICLE_COUNT = 15000;

struct Particle {
    double x, y, z;
    double xSpeed, zSpeed;
    double red, green, blue, alpha;
    double ySpeed;
    double yPull;
    double size;
};

// Slots 1 .. PARTICLE_COUNT - 1 are live; slot 0 is never touched.
extern Particle particles[PARTICLE_COUNT];

void initParticles();
void updateParticles();
// Expects the camera's view on the modelview stack and depth writes off.
void drawParticles();

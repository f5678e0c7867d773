#pragma once

// The sky: the colour every frame is cleared to before its passes (alpha 0). In 8 bits per
// channel, as shots hold it, (135, 207, 255).
const float SKY_COLOUR[4] = {0.53f, 0.81f, 1.0f, 0.0f};

// Draws one frame into the back buffer from the scene's current state: the depth pass, the lit
// pass, then the particles. It moves nothing, so a capture may read the back buffer after it and
// before the frame is presented.
void drawFrame();

// The frame's stages in drawFrame's order, for the benchmarks that time them one by one:
// beginFrame sets the sky's clear colour, then renderDepthPass and renderLitPass
// (render/renderPasses.h), then drawParticlePass draws the particles without writing depth.
void beginFrame();
void drawParticlePass();

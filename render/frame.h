#pragma once

// Draws one frame into the back buffer from the scene's current state: the depth pass, the lit
// pass, then the particles. It moves nothing, so a capture may read the back buffer after it and
// before the frame is presented.
void drawFrame();

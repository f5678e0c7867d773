#pragma once

// Everything main does before the toolkit's loop: the toolkit, the window "Kalvren: Dust Riders
// Demo" with its GL context, the nine callbacks, then initScene. The desktop's main and the
// page's entry both start this way and then choose how the frames run.
void startDemo(int argc, char** argv);

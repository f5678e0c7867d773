#pragma once

// Lifts the camera's eye straight up, when it must, so that the eye and the near plane's whole
// rectangle, at the window's shape, lie EYE_CLEARANCE or more above the ground: the frame never
// cuts a dune open and the eye never sinks into the sand, whatever the script's pace or the user's
// steering did to it. Leaves the eye where it is while no desert is loaded.
const float EYE_CLEARANCE = 1.5f; // units
void keepEyeOverSand();

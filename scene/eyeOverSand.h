#pragma once

// Lifts the camera's eye straight up, when it must, so that the near plane's whole rectangle
// lies EYE_CLEARANCE or more above the ground: the frame never cuts a dune open and the eye never
// sinks into the sand, whatever the script's pace or the user's steering did to it.
const float EYE_CLEARANCE = 1.5f; // units
void keepEyeOverSand();

#pragma once
// What the page's GLUT shell offers the rest of the platform besides GLUT itself.

// Stops the browser's frame loop: the demo's frames end, the page stays.
void stopFrameLoop();

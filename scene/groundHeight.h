#pragma once

// The desert model's slot in the scene table, set by whoever loads the scene; -1 while it is not
// loaded, so that no other model is ever taken for the ground.
extern int groundObject;

// Highest surface of the desert model over world (x, z), as placed now: the sand, or a landform
// standing on it. -INFINITY where the model has no triangle, before it is loaded, and for a
// coordinate that is not finite.
float groundHeightAt(float x, float z);

// How far the ground rises above a flat rectangle at its worst point: the most, over every point p
// of centre + a * across + b * upward (a and b in -1..1, world vectors), that the ground at p's
// (x, z) lies above p's height. Exact for the model's flat triangles, whatever the rectangle's size
// against theirs. -INFINITY where no ground lies under the rectangle.
float groundRiseOver(const float centre[3], const float across[3], const float upward[3]);

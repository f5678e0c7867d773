#pragma once

// Every object of the table, untextured, with normals and positions, under the current matrices.
void drawObjectsDepth();
// Every object with normals, texture coordinates, positions and its own texture on unit 0.
void drawObjectsLit();
// A textured square from (-1, -1) to (1, 1) with the particle mask; no frame step draws it.
void drawTexturedQuad();

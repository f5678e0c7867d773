#pragma once

// The one-texel white texture that objects without a bitmap are drawn with.
extern unsigned int whiteTextureName;

// Makes whiteTextureName; scene initialisation calls it once, after every other texture has its
// name, and leaves the binding of GL_TEXTURE_2D as it found it.
void createWhiteTexture();

// Every object of the table, untextured, with normals and positions, under the current matrices.
void drawObjectsDepth();
// Every object with normals, texture coordinates, positions and its own texture on unit 0.
void drawObjectsLit();
// A textured square from (-1, -1) to (1, 1) with the particle mask; no frame step draws it.
void drawTexturedQuad();
// The same square with texture coordinates 0 to 1 and whatever texture is bound.
void drawUnitQuad();

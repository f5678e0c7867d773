// Lit pass: per-pixel lighting inputs and the shadow-map coordinate of each vertex.
#version 120

varying vec3 eyeNormal;
varying vec3 eyePosition;
// Shadow-map coordinate (homogeneous); texture matrix 7 maps eye space to it.
varying vec4 shadowCoord;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    shadowCoord = gl_TextureMatrix[7] * eye;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ProjectionMatrix * eye;
}

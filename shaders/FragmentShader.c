// Lit pass: GL_LIGHT1 and the front material per pixel, the object's texture on unit 0, and a
// 4 x 4 percentage-closer shadow lookup in the depth map on unit 7.
#version 120

uniform sampler2D ShadowMap;
// Unit 0: never set by the program, so it keeps the default value 0.
uniform sampler2D ObjectTexture;

varying vec3 eyeNormal;
varying vec3 eyePosition;
varying vec4 shadowCoord;

// The shadow map's size in texels, set by the lit pass: 2560 x 1920 for a 640 x 480 window, less
// where the GL's largest texture is smaller.
uniform int ShadowMapWidth;
uniform int ShadowMapHeight;
// Depth bias: a constant floor plus the receiver's depth change across about one texel.
const float CONSTANT_BIAS = 0.00002;
const float SLOPE_BIAS_TEXELS = 1.5;
const float MAX_SLOPE_BIAS = 0.0008;
// Share of direct light that still reaches shadowed surfaces, so shadows are not black holes.
const float SHADOW_FLOOR = 0.3;
// Sky light: a hemisphere around the direction away from the scene light, strongest on faces
// turned away from it and zero on faces that look straight at it, so every face stays readable
// without lifting lit faces past their texture.
const float SKY_FILL = 0.45;
// Open sky over the ground: the light rides above the eye, so the farther out the sand lies the
// lower the light stands over it, and sand shaded by it alone would form a dark band between the
// lit foreground and the haze. The blend asks only how high the light stands over the point, at
// any distance (there is no distance gate): where the sine of that height falls below
// GRAZING_HIGH, from about 75 units out, fully below GRAZING_LOW, a face looking up takes the
// light it would get from above, OVERHEAD_LIGHT on level ground; upright faces and points the
// light stands high over keep the scene light alone. GL_LIGHT1 never lights from here: GL_LIGHT0's position, set
// by the lit pass and never enabled, holds the sky's direction (world up) in eye coordinates.
const float GRAZING_HIGH = 0.9;  // the light 64 degrees over the point
const float GRAZING_LOW = 0.6;   // 37 degrees
const float OVERHEAD_LIGHT = 0.9; // as on the foreground's level sand
// Dust in the air: far sand fades toward a pale dust colour and the ground meets the sky softly.
// Nothing within HAZE_NEAR of the eye is touched: the scene's objects keep their colours while the
// eye is among them.
const vec3 HAZE_COLOR = vec3(0.86, 0.79, 0.66);
const float HAZE_NEAR = 500.0;   // units from the eye where it starts
const float HAZE_DEPTH = 2500.0; // units over which it thickens by a factor e
const float HAZE_MAX = 0.8;

// One texel of the map.
vec2 texel() {
    return vec2(1.0 / float(ShadowMapWidth), 1.0 / float(ShadowMapHeight));
}

// 1 when the point at uv + offset texels is closer to the light than the stored depth.
float tap(vec3 coord, vec2 depthSlope, float bias, vec2 offset) {
    vec2 delta = offset * texel();
    float receiver = coord.z + dot(depthSlope, delta) - bias;
    return receiver <= texture2D(ShadowMap, coord.xy + delta).r ? 1.0 : 0.0;
}

// Fraction of the 4 x 4 taps around the fragment that the light reaches.
float shadowVisibility() {
#ifdef SHADOWS_OFF
    return 1.0;
#endif
    vec3 coord = shadowCoord.xyz / shadowCoord.w;
    // Receiver plane: how depth changes per unit of shadow-map coordinate, from the screen
    // derivatives (taken before any branch), so that every tap compares against the surface's
    // own depth at that tap.
    vec3 dx = dFdx(coord);
    vec3 dy = dFdy(coord);
    // Outside the light's map (or behind the light) nothing was recorded: count it as lit.
    if (shadowCoord.w <= 0.0 || coord.x < 0.0 || coord.x > 1.0 || coord.y < 0.0 || coord.y > 1.0 ||
        coord.z >= 1.0)
        return 1.0;

    float det = dx.x * dy.y - dx.y * dy.x;
    vec2 depthSlope = vec2(0.0);
    if (abs(det) > 1e-14)
        depthSlope = vec2(dy.y * dx.z - dx.y * dy.z, dx.x * dy.z - dy.x * dx.z) / det;
    float slope = abs(depthSlope.x) * texel().x + abs(depthSlope.y) * texel().y;
    float bias = CONSTANT_BIAS + min(SLOPE_BIAS_TEXELS * slope, MAX_SLOPE_BIAS);
    depthSlope = clamp(depthSlope, vec2(-0.5), vec2(0.5));
#ifdef ONE_TAP
    // The page's one-tap view: a single comparison at the texel, for the hard edge it gives.
    return tap(coord, depthSlope, bias, vec2(0.0));
#endif

    // The four corners first: where they agree the fragment is fully lit or fully shadowed.
    float corners = tap(coord, depthSlope, bias, vec2(-1.5, -1.5)) +
                    tap(coord, depthSlope, bias, vec2(1.5, -1.5)) +
                    tap(coord, depthSlope, bias, vec2(-1.5, 1.5)) +
                    tap(coord, depthSlope, bias, vec2(1.5, 1.5));
    // Where they disagree (the soft edge) all sixteen taps of the grid count. A loop rather
    // than a branch: a software rasteriser leaves a loop once no pixel of its block is in it,
    // while it evaluates both sides of a branch. Offsets are computed, not looked up: indexing
    // an array by a varying index costs a gather per lane.
    int grid = (corners == 0.0 || corners == 4.0) ? 0 : 16;
    float lit = 0.0;
    for (int k = 0; k < grid; k++) {
        float row = floor(float(k) * 0.25);
        lit += tap(coord, depthSlope, bias, vec2(float(k) - 4.0 * row, row) - 1.5);
    }
    return grid == 0 ? corners * 0.25 : lit / 16.0;
}

void main() {
    vec3 normal = normalize(eyeNormal);
    vec3 toLight = gl_LightSource[1].position.xyz - eyePosition * gl_LightSource[1].position.w;
    vec3 lightDir = normalize(toLight);
    vec3 viewDir = normalize(-eyePosition);
    float diffuseTerm = max(dot(normal, lightDir), 0.0);
    vec3 skyUp = normalize(gl_LightSource[0].position.xyz);
    float grazing = 1.0 - smoothstep(GRAZING_LOW, GRAZING_HIGH, dot(lightDir, skyUp));
    float overhead = OVERHEAD_LIGHT * max(dot(normal, skyUp), 0.0);
    float groundTerm = mix(diffuseTerm, max(diffuseTerm, overhead), grazing);
    float specularTerm = 0.0;
    if (diffuseTerm > 0.0) {
        vec3 halfway = normalize(lightDir + viewDir);
        specularTerm = pow(max(dot(normal, halfway), 0.0), gl_FrontMaterial.shininess);
    }

    float visibility = shadowVisibility();
    float direct = mix(SHADOW_FLOOR, 1.0, visibility);
    float sky = SKY_FILL * (0.5 - 0.5 * dot(normal, lightDir));

    vec4 ambient =
        gl_LightModel.ambient * gl_FrontMaterial.ambient + gl_FrontLightProduct[1].ambient;
    vec4 diffuse = gl_FrontLightProduct[1].diffuse * groundTerm;
    vec4 specular = gl_FrontLightProduct[1].specular * specularTerm;
    vec4 texel = texture2D(ObjectTexture, gl_TexCoord[0].st);

    // As the fixed-function pipeline modulates: the light is clamped to 1 before it scales the
    // texture, so a fully lit face shows its texture as painted and never clips.
    vec3 light = ambient.rgb + sky + direct * diffuse.rgb + visibility * specular.rgb;
    float eyeDistance = length(eyePosition);
    // The light's and material's alpha values are 0; the texture alone decides opacity.
    vec3 color = min(light, 1.0) * texel.rgb;
    float haze = HAZE_MAX * (1.0 - exp(-max(eyeDistance - HAZE_NEAR, 0.0) / HAZE_DEPTH));
    gl_FragColor = vec4(mix(color, HAZE_COLOR, haze), texel.a);
}

#version 330 core
// Lit characters (the player, the cat, the slimes): toon shading under the
// course's lamps. Diffuse light falls into a few flat bands, the highlight is
// a hard-edged spot, and the silhouette darkens like an ink line. A constant
// ambient keeps an object visible far from every lamp.
in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;

struct LightSlot {
    vec3 position;
    vec3 intensity;
    float cAttenuation;
    float lAttenuation;
    float qAttenuation;
    int isSpotlight;
    float cosOuterCone;
    float cosInnerCone;
    vec3 coneDirection;
};

// One slot per selected lamp light; an unused slot has zero intensity. The
// game builds this program once per number of lights in use (LIGHT_SLOTS):
// the software renderer runs every light's code for every pixel, even for a
// slot that is off, so a slot beyond the lights in use is left out entirely.
// Built without the define, all fourteen slots are shaded.
#ifndef LIGHT_SLOTS
#define LIGHT_SLOTS 14
#endif
uniform LightSlot light0;
uniform LightSlot light1;
uniform LightSlot light2;
uniform LightSlot light3;
uniform LightSlot light4;
uniform LightSlot light5;
uniform LightSlot light6;
uniform LightSlot light7;
uniform LightSlot light8;
uniform LightSlot light9;
uniform LightSlot light10;
uniform LightSlot light11;
uniform LightSlot light12;
uniform LightSlot light13;

uniform vec3 cameraPosition;
uniform float shininess;
uniform vec3 specularColor;
uniform sampler2D colorTexture;

out vec4 fragColor;

const float kAmbient = 0.35;
const float kBands = 3.0;
const float kRimStart = 0.62;
const float kRimEnd = 0.78;
const float kRimDarkness = 0.45;

vec3 N;
vec3 V;
vec3 diffuseSum;
vec3 specularSum;

// Light arriving at the surface: colour times distance and cone fall-off.
vec3 arriving(LightSlot light, vec3 toLight, float distance)
{
    float attenuation = 1.0 / max(light.cAttenuation + light.lAttenuation * distance +
                                  light.qAttenuation * distance * distance, 1e-4);
    float cone = 1.0;
    if (light.isSpotlight == 1) {
        float cosAngle = dot(-toLight, normalize(light.coneDirection));
        cone = smoothstep(light.cosOuterCone, light.cosInnerCone, cosAngle);
    }
    return light.intensity * attenuation * cone;
}

void addLight(LightSlot light)
{
    if (light.intensity == vec3(0.0)) return;
    vec3 offset = light.position - worldPosition;
    float distance = length(offset);
    vec3 L = offset / max(distance, 1e-4);
    vec3 colour = arriving(light, L, distance);
    float lambert = max(dot(N, L), 0.0);
    diffuseSum += colour * lambert;

    if (shininess > 0.0 && lambert > 0.0) {
        vec3 H = normalize(L + V);
        float highlight = pow(max(dot(N, H), 0.0), shininess);
        specularSum += specularColor * colour * step(0.5, highlight);
    }
}

// The summed diffuse light in flat steps of brightness, its hue kept.
vec3 banded(vec3 light)
{
    float brightness = max(max(light.r, light.g), light.b);
    if (brightness <= 0.0) return vec3(0.0);
    float level = min(floor(brightness * kBands + 0.5) / kBands, 1.0);
    return light / brightness * level;
}

void main()
{
    N = normalize(worldNormal);
    V = normalize(cameraPosition - worldPosition);
    if (dot(N, V) < 0.0) N = -N;   // inner faces of open models
    diffuseSum = vec3(0.0);
    specularSum = vec3(0.0);

#if LIGHT_SLOTS > 0
    addLight(light0);
#endif
#if LIGHT_SLOTS > 1
    addLight(light1);
#endif
#if LIGHT_SLOTS > 2
    addLight(light2);
#endif
#if LIGHT_SLOTS > 3
    addLight(light3);
#endif
#if LIGHT_SLOTS > 4
    addLight(light4);
#endif
#if LIGHT_SLOTS > 5
    addLight(light5);
#endif
#if LIGHT_SLOTS > 6
    addLight(light6);
#endif
#if LIGHT_SLOTS > 7
    addLight(light7);
#endif
#if LIGHT_SLOTS > 8
    addLight(light8);
#endif
#if LIGHT_SLOTS > 9
    addLight(light9);
#endif
#if LIGHT_SLOTS > 10
    addLight(light10);
#endif
#if LIGHT_SLOTS > 11
    addLight(light11);
#endif
#if LIGHT_SLOTS > 12
    addLight(light12);
#endif
#if LIGHT_SLOTS > 13
    addLight(light13);
#endif

    vec4 base = texture(colorTexture, texCoord);
    // Full light shows the texture as painted; the ambient floor keeps the dark side readable.
    vec3 light = vec3(kAmbient) + (1.0 - kAmbient) * banded(diffuseSum);
    vec3 colour = base.rgb * light + specularSum;
    float rim = 1.0 - max(dot(N, V), 0.0);
    colour *= mix(1.0, kRimDarkness, smoothstep(kRimStart, kRimEnd, rim));
    fragColor = vec4(colour, base.a);
}

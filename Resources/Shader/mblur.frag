#version 330 core
// Camera motion blur: each pixel's world position is rebuilt from its depth,
// projected with last frame's camera, and the frame is averaged along the
// screen distance the pixel travelled since then.
in vec2 texCoord;

uniform sampler2D frameTexture;
uniform sampler2D depthTexture;
uniform mat4 inverseViewProjMat;
uniform mat4 prevViewProj;
uniform float velocityScale;   // frame-rate independence: base / frame time
uniform int isFast;            // the boost smears harder
// The HUD's distance overlay, laid over the blurred frame here rather than by
// a pass of its own; overlayScale maps window pixels to its picture as the
// overlay's own window-sized quad would.
uniform sampler2D overlayTexture;
uniform int hasOverlay;
uniform vec2 overlayScale;

out vec4 fragColor;

const int kSamples = 10;
// velocityScale is 0.1 at 60 fps: the blur then covers half the frame's motion.
const float kShutter = 5.0;
const float kFastGain = 1.5;
// The longest smear, in texture units: a very short frame (huge
// velocityScale) must not spread a pixel across the screen.
const float kMaxBlur = 0.04;

// x * y / 255 for bytes, as the driver's 8-bit blending rounds it.
vec3 mulNorm(vec3 x, vec3 y)
{
    vec3 product = x * y;
    return floor((product + floor(product / 256.0) + 128.0) / 256.0);
}

void main()
{
    float depth = texture(depthTexture, texCoord).r;
    vec4 current = vec4(texCoord * 2.0 - 1.0, depth * 2.0 - 1.0, 1.0);
    vec4 world = inverseViewProjMat * current;
    world /= world.w;

    vec4 previous = prevViewProj * world;
    vec2 previousCoord = previous.xy / previous.w * 0.5 + 0.5;

    vec2 velocity = (texCoord - previousCoord) * velocityScale * kShutter;
    if (isFast == 1) velocity *= kFastGain;
    float blurLength = length(velocity);
    // A point behind last frame's camera has no sensible previous position.
    if (previous.w <= 0.0 || isnan(blurLength)) velocity = vec2(0.0);
    else if (blurLength > kMaxBlur) velocity *= kMaxBlur / blurLength;

    vec3 sum = vec3(0.0);
    for (int i = 0; i < kSamples; ++i) {
        float t = float(i) / float(kSamples - 1) - 0.5;
        sum += texture(frameTexture, texCoord + velocity * t).rgb;
    }
    vec3 blurred = sum / float(kSamples);
    if (hasOverlay == 1) {
        // The very bytes of blending the overlay over the blurred frame in
        // the window: the frame as its 8 bits (halves to even), the overlay's
        // bytes, and the blend's 8-bit products.
        vec3 below = roundEven(blurred * 255.0);
        vec4 over = floor(texture(overlayTexture, gl_FragCoord.xy * overlayScale) * 255.0 + 0.5);
        vec3 blended = mulNorm(over.rgb, vec3(over.a)) + mulNorm(below, vec3(255.0 - over.a));
        blurred = min(blended, vec3(255.0)) / 255.0;
    }
    fragColor = vec4(blurred, 1.0);
}

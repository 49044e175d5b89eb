// Tovik, the cat and the slime: low-poly models built from solids of
// revolution, each part mapped to its own rectangle of a painted texture.
#include "characters.h"

#include "assets.h"
#include "atlas.h"
#include "drawings.h"
#include "image_files.h"
#include "palette.h"

#include <cmath>

namespace assetgen {

using glm::vec2;
using glm::vec3;

namespace {

// ---------------------------------------------------------------- Tovik
// About six units tall, feet at y = -0.5, facing +x: the game scales him by
// 0.25 and turns +x into the camera's first look direction.

const vec3 kFront(1, 0, 0), kUp(0, 1, 0);

namespace tovik {
const UvRect head = atlasRect(0.0f, 0.5f, 0.5f, 1.0f);
const UvRect torso = atlasRect(0.5f, 0.5f, 1.0f, 1.0f);
const UvRect arm = atlasRect(0.0f, 0.25f, 0.25f, 0.5f);
const UvRect skin = atlasRect(0.25f, 0.25f, 0.375f, 0.5f);
const UvRect leg = atlasRect(0.375f, 0.25f, 0.625f, 0.5f);
const UvRect shoe = atlasRect(0.625f, 0.25f, 0.875f, 0.5f);
const UvRect cap = atlasRect(0.0f, 0.0f, 0.375f, 0.25f);
const UvRect brim = atlasRect(0.375f, 0.0f, 0.5f, 0.25f);
const UvRect eye = atlasRect(0.5f, 0.0f, 0.75f, 0.25f);
} // namespace tovik

Frame at(vec3 origin, vec3 axis = kUp, vec3 front = kFront) { return {origin, axis, front}; }

std::vector<Mesh> tovikModel()
{
    using namespace tovik;
    Mesh headMesh = ellipsoid(at({0, 4.55f, 0}), {0.92f, 0.95f, 0.98f}, 20, 14, head);
    for (float side : {-1.0f, 1.0f})
        headMesh.append(ellipsoid(at({0, 4.5f, side * 0.93f}), {0.14f, 0.2f, 0.1f}, 8, 6, skin));   // ears
    // The cap: a dome over the head from just above the eyes, and a brim ahead.
    Revolve dome{at({0, 4.62f, 0}), {0.99f, 1.03f}, 20, -kPi, kPi, cap};
    headMesh.append(revolve(dome, {{[](float t) {
                                        float theta = 0.12f + (1.5707963f - 0.12f) * t;
                                        return vec2(std::cos(theta), 1.0f * std::sin(theta));
                                    },
                                    6, 0.0f, 1.0f}}));
    headMesh.append(ellipsoid(at({0.74f, 4.76f, 0}), {0.55f, 0.06f, 0.78f}, 16, 4, brim));
    headMesh.name = "head";

    Mesh eyes;
    for (float side : {-1.0f, 1.0f})
        eyes.append(ellipsoid(at({0.8f, 4.6f, side * 0.34f}), {0.13f, 0.25f, 0.17f}, 12, 8, eye));
    eyes.name = "eyes";

    Mesh body = ellipsoid(at({0, 2.6f, 0}), {0.68f, 1.12f, 0.85f}, 20, 12, torso);
    for (float side : {-1.0f, 1.0f}) {
        vec3 shoulder(0, 3.35f, side * 0.8f), hand(0.18f, 2.12f, side * 1.06f);
        body.append(cylinder(frameBetween(shoulder, hand, kFront), glm::length(hand - shoulder), 0.25f, 0.2f, 10, arm));
        body.append(ellipsoid(at(hand + vec3(0.02f, -0.08f, side * 0.02f)), {0.26f, 0.27f, 0.24f}, 10, 8, skin));
    }
    body.name = "body";

    Mesh legs;
    for (float side : {-1.0f, 1.0f}) {
        vec3 hip(0, 1.75f, side * 0.36f), ankle(0.02f, 0.0f, side * 0.38f);
        legs.append(cylinder(frameBetween(ankle, hip, kFront), glm::length(hip - ankle), 0.26f, 0.31f, 10, leg));
        legs.append(ellipsoid(at({0.14f, -0.22f, side * 0.38f}), {0.5f, 0.28f, 0.3f}, 14, 8, shoe));
    }
    legs.name = "legs";
    return {headMesh, eyes, body, legs};
}

void paintTovik(Canvas& canvas, const TovikColors& c, bool boosted)
{
    using namespace tovik;
    Color glow = boosted ? Color{1, 1, 1, 1} : c.hoodieTrim;

    // Head: the face looks along longitude 0; hair shows at the back under the cap.
    fillRegion(canvas, head, kSphereLo, kSphereHi, solid(c.skin));
    for (float side : {-1.0f, 1.0f}) {
        canvas.fill(unite(capsule({side * 2.2f, -0.45f}, {side * 2.2f, 0.3f}, 0.95f), capsule({side * kPi, -0.6f}, {side * kPi, 0.3f}, 0.95f)), c.hair);
        canvas.fill(ellipse({side * 0.62f, -0.22f}, {0.2f, 0.11f}), withAlpha(kCatPink, 0.75f));   // cheeks
        canvas.fill(stroke(bezier({side * 0.22f, 0.4f}, {side * 0.4f, 0.5f}, {side * 0.6f, 0.4f}), 0.035f), c.hair);
    }
    canvas.fill(stroke(bezier({-0.26f, -0.36f}, {0, -0.56f}, {0.26f, -0.36f}), 0.045f), kInk);
    canvas.fill(ellipse({0, -0.12f}, {0.07f, 0.05f}), scaled(c.skin, 0.85f));   // nose

    fillRegion(canvas, eye, kSphereLo, kSphereHi, solid({1, 1, 1, 1}));
    canvas.fill(ellipse({0, 0.08f}, {0.55f, 0.62f}), boosted ? rgb(0x00a8ff) : rgb(0x5a3a1e));
    canvas.fill(ellipse({0, 0.08f}, {0.32f, 0.38f}), kInk);
    canvas.fill(circle({0.18f, 0.3f}, 0.14f), {1, 1, 1, 1});

    fillRegion(canvas, cap, {-kPi, 0}, {kPi, 1}, linear({0, 0}, scaled(c.cap, 0.85f), {0, 1}, c.cap));
    for (float x : {-2.0f, 0.0f, 2.0f}) canvas.fill(capsule({x, 0.05f}, {x, 1.0f}, 0.05f), scaled(c.cap, 0.75f));
    canvas.fill(circle({0, 0.55f}, 0.3f), glow);   // badge on the front
    canvas.fill(circle({0, 0.55f}, 0.2f), c.emblem);
    fillRegion(canvas, brim, {0, 0}, {1, 1}, solid(scaled(c.cap, 0.8f)));

    // Hoodie: zip down the front, a pocket, the emblem, a waistband, the hood's rim behind.
    fillRegion(canvas, torso, kSphereLo, kSphereHi, solid(c.hoodie));
    canvas.fill(roundedBox({-kPi, -kPi / 2}, {kPi, -1.05f}, 0.0f), scaled(c.hoodie, 0.75f));
    canvas.fill(capsule({0, -1.0f}, {0, 1.2f}, 0.035f), c.hoodieTrim);
    canvas.fill(roundedBox({-0.55f, -0.75f}, {0.55f, -0.3f}, 0.12f), scaled(c.hoodie, 0.82f));
    canvas.fill(outline(roundedBox({-0.55f, -0.75f}, {0.55f, -0.3f}, 0.12f), 0.025f), glow);
    canvas.fill(polygon({{0.42f, 0.75f}, {0.18f, 0.38f}, {0.32f, 0.38f}, {0.16f, 0.02f}, {0.5f, 0.5f}, {0.35f, 0.5f}}),
                c.emblem);
    canvas.fill(unite(outline(ellipse({kPi, 1.05f}, {0.9f, 0.5f}), 0.05f), outline(ellipse({-kPi, 1.05f}, {0.9f, 0.5f}), 0.05f)),
                c.hoodieTrim);
    canvas.fill(roundedBox({-kPi, 1.3f}, {kPi, kPi / 2}, 0.0f), c.skin);   // the neck under the head
    if (boosted)   // speed streaks along the flanks
        for (float side : {-1.0f, 1.0f})
            for (int k = 0; k < 3; ++k)
                canvas.fill(capsule({side * (1.3f + k * 0.35f), -0.6f + k * 0.35f}, {side * (2.1f + k * 0.35f), -0.3f + k * 0.35f}, 0.05f),
                            c.emblem);

    // Sleeves with cuffs, skin, trousers with hems, shoes with soles and laces.
    fillRegion(canvas, arm, {-kPi, 0}, {kPi, 1}, solid(scaled(c.hoodie, 0.95f)));
    canvas.fill(roundedBox({-kPi, 0.82f}, {kPi, 0.94f}, 0.0f), c.hoodieTrim);
    if (boosted) canvas.fill(stroke({{-kPi, 0.2f}, {-1.5f, 0.4f}, {0, 0.2f}, {1.5f, 0.4f}, {kPi, 0.2f}}, 0.04f), c.emblem);
    fillRegion(canvas, skin, {0, 0}, {1, 1}, solid(c.skin));
    fillRegion(canvas, leg, {-kPi, 0}, {kPi, 1}, solid(c.pants));
    canvas.fill(roundedBox({-kPi, 0.0f}, {kPi, 0.12f}, 0.0f), scaled(c.pants, 0.7f));
    for (float side : {-1.0f, 1.0f}) canvas.fill(capsule({side * 1.5708f, 0.1f}, {side * 1.5708f, 1.0f}, 0.04f), boosted ? c.emblem : scaled(c.pants, 1.2f));
    fillRegion(canvas, shoe, kSphereLo, kSphereHi, solid(c.shoes));
    canvas.fill(roundedBox({-kPi, -kPi / 2}, {kPi, -0.35f}, 0.0f), c.soles);
    for (int k = 0; k < 3; ++k) canvas.fill(capsule({-0.3f, 0.35f + k * 0.25f}, {0.3f, 0.35f + k * 0.25f}, 0.06f), c.soles);
    canvas.setView({1, 1}, {0, 0});
}

// ---------------------------------------------------------------- the cat
// About 0.6 tall at scale 1, paws at y = 0, facing +z. The front of its head
// shows the face painted in the middle of the atlas; the video of the face
// replaces the texture while the cat is far away, so its middle must be the
// face and its borders the fur that covers the rest of the body.

namespace cat {
const vec3 kHead(0, 0.44f, 0.24f);
const float kHeadRadius = 0.13f;
const UvRect paw = atlasRect(0.0f, 0.0f, 0.085f, 0.28f);
const UvRect leg = atlasRect(0.0f, 0.3f, 0.085f, 1.0f);
const UvRect tail = atlasRect(0.085f, 0.0f, 0.17f, 1.0f);
const UvRect body = atlasRect(0.83f, 0.0f, 1.0f, 0.62f);
const UvRect headBack = atlasRect(0.83f, 0.64f, 1.0f, 1.0f);
} // namespace cat

// Front projection of the head: face design units (head radius 1) to (u, v).
vec2 faceUv(vec3 p)
{
    vec2 design = vec2(p.x - cat::kHead.x, p.y - cat::kHead.y) / cat::kHeadRadius;
    return kCatFaceCentre + design * kCatFaceScale;
}

std::vector<Mesh> catModel()
{
    using namespace cat;
    const vec3 forward(0, 0, 1);
    Mesh head = ellipsoid({kHead, kUp, forward}, vec3(kHeadRadius), 16, 12, UvRect{}, -kPi / 2, kPi / 2);
    head.append(ellipsoid({{0, 0.392f, 0.335f}, kUp, forward}, {0.045f, 0.045f, 0.068f}, 10, 6, UvRect{}));   // muzzle
    for (float side : {-1.0f, 1.0f}) {
        vec3 base = kHead + vec3(side * 0.56f, 0.56f, 0.0f) * kHeadRadius + vec3(0, 0, 0.02f);
        vec3 tip = kHead + vec3(side * 0.74f, 1.34f, 0.0f) * kHeadRadius;
        head.append(cylinder(frameBetween(base, tip, forward), glm::length(tip - base), 0.05f, 0.004f, 6, UvRect{}, 0.0f));
    }
    head.mapUv(faceUv);
    head.append(ellipsoid({kHead, kUp, forward}, vec3(kHeadRadius), 16, 12, headBack, kPi / 2, 3 * kPi / 2));
    head.name = "head";

    // The body lies along z; its "front" for texturing is the spine.
    Mesh body = ellipsoid({{0, 0.3f, -0.02f}, forward, kUp}, {0.13f, 0.24f, 0.14f}, 16, 12, cat::body);
    for (float side : {-1.0f, 1.0f})
        for (float z : {0.12f, -0.16f}) {
            vec3 paw(side * 0.075f, 0.03f, z), hip(side * 0.08f, 0.28f, z);
            body.append(cylinder(frameBetween(paw, hip, forward), glm::length(hip - paw), 0.04f, 0.045f, 8, leg));
            body.append(ellipsoid({paw + vec3(0, -0.005f, 0.012f), kUp, forward}, {0.045f, 0.025f, 0.036f}, 8, 6, cat::paw));
        }
    // The tail curls up behind; each piece takes its share of the tail's strip.
    const vec3 points[5] = {{0, 0.34f, -0.23f}, {0, 0.4f, -0.34f}, {0, 0.5f, -0.41f}, {0, 0.6f, -0.42f}, {0, 0.67f, -0.38f}};
    for (int i = 0; i < 4; ++i) {
        UvRect piece{tail.u0, tail.v0 + (tail.v1 - tail.v0) * i / 4.0f, tail.u1, tail.v0 + (tail.v1 - tail.v0) * (i + 1) / 4.0f};
        float r0 = 0.032f - i * 0.004f, r1 = r0 - 0.004f;
        body.append(cylinder(frameBetween(points[i], points[i + 1], kUp), glm::length(points[i + 1] - points[i]), r0, r1, 8, piece, 0.0f));
        body.append(ellipsoid({points[i + 1], kUp, forward}, vec3(r1), 8, 6, piece));
    }
    body.name = "body";
    return {head, body};
}

} // namespace

const vec2 kCatFaceCentre(0.5f, 0.42f);
const vec2 kCatFaceScale(0.3f, 0.4f);

void paintCatSkin(Canvas& canvas, const CatExpression& expression)
{
    using namespace cat;
    canvas.setUvView();
    canvas.fill(roundedBox({-0.1f, -0.1f}, {1.1f, 1.1f}, 0.0f), kCatFur);
    // Tabby stripes round the body (across its length), a dark spine, a cream belly.
    fillRegion(canvas, cat::body, {0, 0}, {1, 1}, solid(kCatFur));
    canvas.fill(roundedBox({-0.1f, -0.1f}, {0.16f, 1.1f}, 0.0f), kCatCream);
    canvas.fill(roundedBox({0.84f, -0.1f}, {1.1f, 1.1f}, 0.0f), kCatCream);
    for (int k = 0; k < 6; ++k) {
        float t = 0.1f + k * 0.14f;
        canvas.fill(stroke({{0.22f, t}, {0.5f, t + 0.05f}, {0.78f, t}}, 0.025f), kCatStripe);
    }
    canvas.fill(capsule({0.5f, 0.02f}, {0.5f, 0.98f}, 0.04f), kCatStripe);
    fillRegion(canvas, leg, {0, 0}, {1, 1}, solid(kCatFur));
    for (float t : {0.35f, 0.6f, 0.85f}) canvas.fill(roundedBox({-0.1f, t}, {1.1f, t + 0.07f}, 0.0f), kCatStripe);
    fillRegion(canvas, paw, {0, 0}, {1, 1}, solid(kCatCream));
    fillRegion(canvas, tail, {0, 0}, {1, 1}, solid(kCatFur));
    for (float t : {0.15f, 0.35f, 0.55f, 0.75f}) canvas.fill(roundedBox({-0.1f, t}, {1.1f, t + 0.06f}, 0.0f), kCatStripe);
    canvas.fill(roundedBox({-0.1f, 0.88f}, {1.1f, 1.1f}, 0.0f), kCatStripe);
    fillRegion(canvas, headBack, {0, 0}, {1, 1}, solid(kCatFur));
    for (float s : {0.3f, 0.5f, 0.7f}) canvas.fill(capsule({s, 0.55f}, {s, 0.98f}, 0.04f), kCatStripe);

    canvas.setView({canvas.width() * kCatFaceScale.x, -canvas.height() * kCatFaceScale.y},
                   {canvas.width() * kCatFaceCentre.x, canvas.height() * (1.0f - kCatFaceCentre.y)});
    drawCatFace(canvas, expression);
    canvas.setView({1, 1}, {0, 0});
}

namespace {

// ---------------------------------------------------------------- the slime
// A translucent green drop about half a unit wide, its base at y = 0.

const UvRect kSlimeSkin{0.0f, 0.0f, 1.0f, 1.0f};
constexpr float kSlimeBase = 0.1f;   // texture t where the base disc meets the side

std::vector<Mesh> slimeModel()
{
    Revolve drop{{{0, 0, 0}, kUp, {0, 0, 1}}, {1, 1}, 24, -kPi, kPi, kSlimeSkin};
    const float bottom = -0.9f;
    const float rise = 0.18f / std::sin(0.9f);
    auto side = [=](float t) {
        float phi = bottom + (1.5707963f - bottom) * t;
        float tip = std::max(0.0f, (phi - 1.0f) / 0.5708f);
        return vec2(0.28f * std::cos(phi), 0.18f + rise * std::sin(phi) + 0.06f * tip * tip);
    };
    Mesh mesh = revolve(drop, {{[=](float t) { return vec2(side(0).x * t, 0.0f); }, 2, 0.0f, kSlimeBase},
                               {side, 12, kSlimeBase, 1.0f}});
    mesh.name = "slime";
    return {mesh};
}

void paintSlime(Canvas& canvas)
{
    // Design units: x round the drop (0 at its front), y from the base up the side.
    vec2 lo(-0.88f, -0.06f), hi(0.88f, 0.6f);
    fillRegion(canvas, kSlimeSkin, lo, hi,
               linear({0, 0}, rgb(0x2fae4a, 0.8f), {0, 0.6f}, rgb(0x8cff8a, 0.52f)));
    for (int i = 0; i < 26; ++i) {   // bubbles inside the jelly
        vec2 p(lo.x + hashNoise(i, 1, 11) * (hi.x - lo.x), 0.05f + hashNoise(i, 2, 11) * 0.45f);
        float r = 0.012f + hashNoise(i, 3, 11) * 0.025f;
        canvas.fill(circle(p, r), rgb(0xd8ffd0, 0.75f));
        canvas.fill(circle(p + vec2(-r * 0.3f, r * 0.3f), r * 0.35f), {1, 1, 1, 0.9f});
    }
    for (float x : {-0.88f, 0.88f})   // the shine on the back
        canvas.fill(capsule({x, 0.3f}, {x, 0.45f}, 0.05f), {1, 1, 1, 0.6f});
    canvas.fill(capsule({-0.3f, 0.42f}, {-0.18f, 0.5f}, 0.03f), {1, 1, 1, 0.7f});
    for (float side : {-1.0f, 1.0f}) {
        canvas.fill(ellipse({side * 0.09f, 0.3f}, {0.035f, 0.05f}), rgb(0x10301a));
        canvas.fill(circle({side * 0.09f + 0.012f, 0.315f}, 0.012f), {1, 1, 1, 1});
    }
    canvas.fill(stroke(bezier({-0.06f, 0.22f}, {0, 0.18f}, {0.06f, 0.22f}), 0.01f), rgb(0x10301a));
    canvas.setView({1, 1}, {0, 0});
}

void writeModel(const std::string& path, const std::vector<Mesh>& meshes, const std::string& comment)
{
    writeFile(path, toObj(meshes, comment));
}

} // namespace

std::vector<Mesh> buildTovik() { return tovikModel(); }
std::vector<Mesh> buildCat() { return catModel(); }
std::vector<Mesh> buildSlime() { return slimeModel(); }

void writeCharacters(const std::string& root)
{
    writeModel(root + "/Models/tovk.obj", tovikModel(), "Tovik: facing +x, feet at y = -0.5, six units tall");
    for (bool boosted : {false, true}) {
        Canvas texture(512, 512);
        paintTovik(texture, boosted ? kTovikBoost : kTovik, boosted);
        savePng(texture, root + (boosted ? "/Textures/tovkTexG.png" : "/Textures/tovkTex.png"), false);
    }

    writeModel(root + "/Models/cat.obj", catModel(), "The cat: facing +z, paws at y = 0, 0.6 tall");
    Canvas catTexture(512, 512);
    paintCatSkin(catTexture, CatExpression{});
    saveTga(catTexture, root + "/Textures/cat.tga");

    writeModel(root + "/Models/slime.obj", slimeModel(), "A slime: base at y = 0, half a unit across");
    Canvas slimeTexture(256, 256);
    paintSlime(slimeTexture);
    savePng(slimeTexture, root + "/Textures/slime.png", true);
}

} // namespace assetgen

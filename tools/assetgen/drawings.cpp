#include "drawings.h"

#include "palette.h"

#include <cmath>

namespace assetgen {

using glm::vec2;

void drawCatIcon(Canvas& canvas, vec2 c, float size, Color color)
{
    float r = size * 0.42f;
    vec2 head = c + vec2(0, size * 0.08f);
    Shape shape = circle(head, r);
    for (float side : {-1.0f, 1.0f})
        shape = unite(shape, polygon({head + vec2(side * 0.92f, -0.3f) * r, head + vec2(side * 0.22f, -0.9f) * r,
                                      head + vec2(side * 0.92f, -1.28f) * r}));
    for (float side : {-1.0f, 1.0f})
        shape = subtract(shape, ellipse(head + vec2(side * 0.4f, -0.05f) * r, vec2(0.15f, 0.22f) * r));
    shape = subtract(shape, polygon({head + vec2(-0.13f, 0.25f) * r, head + vec2(0.13f, 0.25f) * r,
                                     head + vec2(0.0f, 0.42f) * r}));
    canvas.fill(shape, color);
}

void drawCatFace(Canvas& canvas, const CatExpression& e)
{
    // Ears first: the head overlaps their base.
    for (float side : {-1.0f, 1.0f}) {
        float twitch = side < 0 ? e.earTwitch * 0.3f : 0.0f;
        vec2 pivot(side * 0.55f, 0.62f);
        Shape outer = polygon({{side * 0.95f, 0.3f}, {side * 0.18f, 0.86f}, {side * 0.74f, 1.34f}});
        Shape inner = polygon({{side * 0.78f, 0.45f}, {side * 0.36f, 0.8f}, {side * 0.7f, 1.14f}});
        canvas.fill(rotated(outer, pivot, side * twitch), kCatFur);
        canvas.fill(rotated(inner, pivot, side * twitch), kCatPink);
    }

    const Paint fur = radial({0, 0.15f}, 1.0f, scaled(kCatFur, 1.12f), scaled(kCatFur, 0.92f));
    canvas.fill(circle({0, 0}, 1.0f), fur);
    // Tabby marks on the forehead and the cheeks.
    for (float x : {-0.24f, 0.0f, 0.24f})
        canvas.fill(capsule({x, 0.93f - std::fabs(x) * 0.2f}, {x * 0.6f, 0.6f}, 0.055f), kCatStripe);
    for (float side : {-1.0f, 1.0f})
        for (float y : {0.12f, -0.06f})
            canvas.fill(capsule({side * 0.97f, y + 0.04f}, {side * 0.74f, y}, 0.045f), kCatStripe);

    // Cream muzzle and chin.
    for (float side : {-1.0f, 1.0f}) canvas.fill(ellipse({side * 0.21f, -0.38f}, {0.3f, 0.24f}), kCatCream);
    canvas.fill(ellipse({0, -0.62f}, {0.24f, 0.17f}), kCatCream);

    // Eyes: green almonds with slit pupils; a furry lid comes down from above.
    for (float side : {-1.0f, 1.0f}) {
        vec2 c(side * 0.4f, 0.12f);
        vec2 radii(0.24f, 0.2f);
        Shape eye = ellipse(c, radii);
        canvas.fill(outline(eye, 0.03f), kInk);
        canvas.fill(eye, radial(c, radii.x, scaled(kCatEye, 1.2f), scaled(kCatEye, 0.8f)));
        vec2 p = c + e.look * vec2(0.08f, 0.05f);
        canvas.fill(intersect(ellipse(p, {0.035f + 0.11f * e.pupil, 0.17f}), eye), kInk);
        canvas.fill(intersect(circle(p + vec2(0.05f, 0.07f), 0.045f), eye), Color{1, 1, 1, 0.9f});
        if (e.blink > 0.02f) {
            float lid = c.y + radii.y - e.blink * 2.0f * radii.y;
            Shape cover = intersect(ellipse(c, radii + 0.04f), roundedBox({c.x - 1, lid}, c + vec2(1.0f), 0.0f));
            canvas.fill(cover, fur);
            float half = (radii.x + 0.02f) * std::sqrt(std::max(0.0f, 1.0f - std::pow((lid - c.y) / (radii.y + 0.02f), 2.0f)));
            canvas.fill(capsule({c.x - half, lid}, {c.x + half, lid}, 0.03f), kInk);
        }
    }

    // Nose, mouth and, when meowing, the open mouth with its tongue over the lips.
    float open = e.mouth;
    canvas.fill(stroke({{0, -0.24f}, {0, -0.35f}}, 0.022f), kInk);
    for (float side : {-1.0f, 1.0f})
        canvas.fill(stroke(bezier({0, -0.35f}, {side * 0.1f, -0.48f - 0.06f * open}, {side * 0.22f, -0.38f}), 0.022f),
                    kInk);
    if (open > 0.02f) {
        vec2 m(0, -0.47f - 0.05f * open);
        vec2 radii(0.1f + 0.06f * open, 0.05f + 0.14f * open);
        canvas.fill(ellipse(m, radii), rgb(0x6e1424));
        canvas.fill(intersect(ellipse(m - vec2(0, radii.y * 0.55f), radii * vec2(0.7f, 0.5f)), ellipse(m, radii)),
                    rgb(0xf27a8c));
    }
    canvas.fill(polygon({{-0.12f, -0.12f}, {0.12f, -0.12f}, {0, -0.27f}}), kCatPink);
    canvas.fill(outline(polygon({{-0.12f, -0.12f}, {0.12f, -0.12f}, {0, -0.27f}}), 0.015f), scaled(kCatPink, 0.6f));

    // Whiskers, kept inside the head's width so they stay on the face.
    for (float side : {-1.0f, 1.0f})
        for (int k = 0; k < 3; ++k) {
            vec2 from(side * 0.42f, -0.33f + k * 0.07f);
            float angle = (0.18f - k * 0.18f) + e.whiskers;
            vec2 to = from + vec2(side * std::cos(angle), std::sin(angle)) * 0.62f;
            canvas.fill(capsule(from, to, 0.012f), Color{1, 1, 1, 0.9f});
        }
}

TovikPose pose(float armLeft, float armRight, float legLeft, float legRight, float tilt, bool surprised)
{
    return {armLeft, armRight, legLeft, legRight, tilt, surprised};
}

void drawTovik(Canvas& canvas, vec2 feet, float height, const TovikPose& pose)
{
    const TovikColors& c = kTovik;
    float unit = height / 6.0f;
    float cs = std::cos(pose.tilt), sn = std::sin(pose.tilt);
    // Local units: x right, y up from the feet; six units tall.
    auto at = [&](vec2 p) { return feet + vec2(cs * p.x + sn * p.y, sn * p.x - cs * p.y) * unit; };
    auto blob = [&](vec2 centre, vec2 radii) { return rotated(ellipse(at(centre), radii * unit), at(centre), pose.tilt); };
    auto limb = [&](vec2 a, vec2 b, float r) { return capsule(at(a), at(b), r * unit); };
    auto swing = [](vec2 from, float angle, float length, float side) {
        return from + vec2(side * std::sin(angle), -std::cos(angle)) * length;
    };

    for (float side : {-1.0f, 1.0f}) {
        vec2 hip(side * 0.38f, 1.7f);
        vec2 ankle = swing(hip, side < 0 ? pose.legLeft : pose.legRight, 1.45f, side);
        canvas.fill(limb(hip, ankle, 0.28f), c.pants);
        canvas.fill(blob(ankle + vec2(side * 0.08f, -0.08f), {0.44f, 0.27f}), c.shoes);
        canvas.fill(intersect(blob(ankle + vec2(side * 0.08f, -0.08f), {0.44f, 0.27f}),
                              limb(ankle + vec2(-1, -0.3f), ankle + vec2(1, -0.3f), 0.12f)),
                    c.soles);
    }
    for (float side : {-1.0f, 1.0f}) {
        vec2 shoulder(side * 0.78f, 3.35f);
        vec2 hand = swing(shoulder, side < 0 ? pose.armLeft : pose.armRight, 1.3f, side);
        canvas.fill(limb(shoulder, hand, 0.23f), scaled(c.hoodie, 0.92f));
        canvas.fill(circle(at(hand), 0.28f * unit), c.skin);
    }
    canvas.fill(blob({0, 2.6f}, {0.85f, 1.15f}), c.hoodie);
    canvas.fill(limb({0, 3.6f}, {0, 1.7f}, 0.035f), c.hoodieTrim);
    canvas.fill(rotated(roundedBox(at({-0.5f, 2.25f}), at({0.5f, 1.85f}), 0.12f * unit), at({0, 2.05f}), 0),
                scaled(c.hoodie, 0.8f));
    canvas.fill(polygon({at({0.12f, 3.25f}), at({-0.18f, 2.8f}), at({0.02f, 2.8f}), at({-0.12f, 2.45f}),
                         at({0.22f, 2.95f}), at({0.02f, 2.95f})}),
                c.emblem);

    canvas.fill(circle(at({0, 4.55f}), 0.95f * unit), c.skin);
    for (float side : {-1.0f, 1.0f}) canvas.fill(blob({side * 0.58f, 4.25f}, {0.17f, 0.1f}), withAlpha(kCatPink, 0.7f));
    Shape dome = intersect(circle(at({0, 4.62f}), 1.0f * unit), blob({0, 6.0f}, {2.0f, 1.18f}));
    canvas.fill(dome, c.cap);
    canvas.fill(blob({0, 4.86f}, {1.08f, 0.17f}), scaled(c.cap, 0.8f));
    for (float side : {-1.0f, 1.0f}) {
        vec2 eye(side * 0.33f, 4.5f);
        canvas.fill(blob(eye, {0.18f, 0.27f}), {1, 1, 1, 1});
        canvas.fill(blob(eye + vec2(0, -0.03f), pose.surprised ? vec2(0.07f, 0.09f) : vec2(0.11f, 0.17f)), kInk);
        canvas.fill(circle(at(eye + vec2(0.04f, 0.06f)), 0.04f * unit), {1, 1, 1, 1});
    }
    if (pose.surprised)
        canvas.fill(blob({0, 3.98f}, {0.14f, 0.18f}), rgb(0x7a1c28));
    else {
        std::vector<vec2> smile;
        for (vec2 p : bezier({-0.26f, 4.08f}, {0, 3.84f}, {0.26f, 4.08f})) smile.push_back(at(p));
        canvas.fill(stroke(smile, 0.045f * unit), kInk);
    }
}

} // namespace assetgen

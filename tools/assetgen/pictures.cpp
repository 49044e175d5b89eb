// The full-window pictures: the controls screen (also the pause screen) and
// the three end screens. 1280 x 720, stretched to the window by the game.
#include "assets.h"
#include "drawings.h"
#include "image_files.h"
#include "palette.h"

#include <cmath>
#include <vector>

namespace assetgen {

using glm::vec2;

namespace {

constexpr int kWidth = 1280, kHeight = 720;

TextStyle headline(float size, Color color, Color rim)
{
    TextStyle style;
    style.face = Typeface::Bold;
    style.size = size;
    style.color = color;
    style.align = Align::Centre;
    style.outline = size / 18.0f;
    style.outlineColor = rim;
    style.shadow = 4;
    return style;
}

TextStyle body(float size, Color color, Align align = Align::Centre)
{
    TextStyle style;
    style.size = size;
    style.color = color;
    style.align = align;
    style.shadow = 2;
    return style;
}

// "Press Enter to quit" (or any call to action) in a bright pill.
void callToAction(Canvas& canvas, const std::string& text, vec2 centre, Color fill, Color ink)
{
    TextStyle style = body(32, ink);
    style.face = Typeface::Bold;
    style.shadow = 0;
    float half = renderText(text, style.face, style.size).advance * 0.5f + 34;
    canvas.fill(roundedBox(centre - vec2(half, 28) + 4.0f, centre + vec2(half, 28) + 4.0f, 28), Color{0, 0, 0, 0.35f});
    canvas.fill(roundedBox(centre - vec2(half, 28), centre + vec2(half, 28), 28), fill);
    drawText(canvas, text, centre.x, centre.y + 11, style);
}

// A key cap with its label; returns its width.
float keyCap(Canvas& canvas, const std::string& label, vec2 topLeft)
{
    TextStyle style;
    style.face = Typeface::Bold;
    style.size = 21;
    style.color = rgb(0x222634);
    style.align = Align::Centre;
    float width = std::max(44.0f, renderText(label, style.face, style.size).advance + 26.0f);
    vec2 lo = topLeft, hi = topLeft + vec2(width, 40);
    canvas.fill(roundedBox(lo + vec2(0, 4), hi + vec2(0, 4), 8), rgb(0x8d93a6));
    canvas.fill(roundedBox(lo, hi, 8), linear(lo, rgb(0xffffff), hi, rgb(0xdde2ee)));
    drawText(canvas, label, lo.x + width * 0.5f, lo.y + 28, style);
    return width;
}

void drawCat(Canvas& canvas, vec2 centre, float radius, const CatExpression& expression)
{
    canvas.setView({radius, -radius}, centre);
    drawCatFace(canvas, expression);
    canvas.setView({1, 1}, {0, 0});
}

void sprinkle(Canvas& canvas, int seed, int count, const std::vector<Color>& colors, vec2 lo, vec2 hi, float size)
{
    for (int i = 0; i < count; ++i) {
        vec2 p(lo.x + hashNoise(i, 1, seed) * (hi.x - lo.x), lo.y + hashNoise(i, 2, seed) * (hi.y - lo.y));
        float angle = hashNoise(i, 3, seed) * 3.14159f;
        Color c = colors[static_cast<size_t>(hashNoise(i, 4, seed) * colors.size()) % colors.size()];
        canvas.fill(rotated(roundedBox(p - vec2(size, size * 0.45f), p + vec2(size, size * 0.45f), 2), p, angle), c);
    }
}

Canvas controlsPicture()
{
    Canvas canvas(kWidth, kHeight);
    canvas.fillAll(linear({0, 0}, rgb(0x1d2f55), {0, kHeight}, rgb(0x2b1846)));
    // Faint paw prints running across the background.
    for (int i = 0; i < 14; ++i) {
        vec2 p(60.0f + i * 92.0f, 690.0f - i * 24.0f + (i % 2) * 26.0f);
        Color c{1, 1, 1, 0.05f};
        canvas.fill(ellipse(p, {15, 12}), c);
        for (int k = 0; k < 4; ++k) canvas.fill(circle(p + vec2(-16.0f + k * 10.7f, -17.0f - (k == 1 || k == 2) * 6.0f), 5.5f), c);
    }

    drawText(canvas, "TOVIK 3D", 640, 104, headline(96, rgb(0xffd23a), rgb(0x3a1a00)));
    drawText(canvas, "Run from the cat - reach the goal!", 640, 148, body(28, rgb(0xe8ecff)));
    const TovikPose running = pose(0.9f, -0.5f, 0.35f, -0.3f, 0.12f);
    drawTovik(canvas, {170, 162}, 140, running);
    CatExpression hunting;
    hunting.look = {-1, 0};
    hunting.pupil = 0.2f;
    drawCat(canvas, {1110, 90}, 58, hunting);

    struct Row {
        std::vector<std::string> keys;
        std::string action;
    };
    const std::vector<Row> play = {
        {{"W", "A", "S", "D"}, "Move"},      {{"Mouse"}, "Look around"},
        {{"Space"}, "Jump"},                 {{"C"}, "Front camera"},
        {{"Left Shift"}, "Boost (god mode)"}, {{"F1"}, "Pause / show controls"},
        {{"Esc"}, "Quit"},                   {{"Enter"}, "Quit on an end screen"},
    };
    const std::vector<Row> display = {
        {{"F2"}, "Statistics"},    {{"F3"}, "Wireframe"},       {{"F4"}, "Texture sampling"},
        {{"F5"}, "Mip-mapping"},   {{"F7"}, "Mute"},            {{"F8"}, "Frustum culling"},
        {{"F9"}, "Transparency"},  {{"F12"}, "Screenshot"},
    };
    auto panel = [&](const std::string& title, const std::vector<Row>& rows, float x0, float x1, float keyColumn,
                     float rowHeight) {
        canvas.fill(roundedBox({x0, 172}, {x1, 632}, 22), Color{0.05f, 0.05f, 0.12f, 0.55f});
        canvas.fill(outline(roundedBox({x0, 172}, {x1, 632}, 22), 1.5f), Color{1, 1, 1, 0.25f});
        TextStyle heading = body(24, rgb(0xffd23a), Align::Left);
        heading.face = Typeface::Bold;
        drawText(canvas, title, x0 + 30, 208, heading);
        float y = 226;
        for (const Row& row : rows) {
            float x = x0 + 30;
            for (const std::string& key : row.keys) x += keyCap(canvas, key, {x, y}) + 6;
            drawText(canvas, row.action, x0 + 30 + keyColumn, y + 29, body(26, rgb(0xffffff), Align::Left));
            y += rowHeight;
        }
    };
    panel("PLAY", play, 50, 660, 220, 50);
    // Eight rows close up above the two hints.
    panel("DISPLAY AND SOUND", display, 690, 1230, 90, 43);
    drawText(canvas, "Touch a slime for a speed boost.", 720, 590, body(22, rgb(0xb8f5a0), Align::Left));
    drawText(canvas, "Mind the holes and the edges!", 720, 618, body(22, rgb(0xffc0a0), Align::Left));
    callToAction(canvas, "Press F1 to play", {640, 674}, rgb(0xffd23a), rgb(0x2a1a00));
    return canvas;
}

Canvas caughtPicture()
{
    Canvas canvas(kWidth, kHeight);
    canvas.fillAll(radial({380, 360}, 900, rgb(0x7a1830), rgb(0x1e0612)));
    CatExpression pounce;
    pounce.mouth = 1.0f;
    pounce.pupil = 0.12f;
    pounce.look = {0.8f, -0.3f};
    pounce.earTwitch = 0.6f;
    drawCat(canvas, {370, 390}, 235, pounce);
    // Three claw scratches across the right of the picture.
    for (int k = 0; k < 3; ++k) {
        vec2 a(640.0f + k * 40, 60.0f + k * 10), b(575.0f + k * 40, 230.0f + k * 10);
        canvas.fill(stroke(bezier(a, (a + b) * 0.5f + vec2(30, 0), b), 9), Color{1, 0.85f, 0.85f, 0.85f});
    }
    const TovikPose flung = pose(2.4f, 2.2f, 0.5f, -0.4f, -0.5f, true);
    drawTovik(canvas, {700, 600}, 150, flung);
    drawText(canvas, "CAUGHT!", 950, 330, headline(112, rgb(0xffffff), rgb(0xa01020)));
    drawText(canvas, "The cat got you.", 950, 400, body(44, rgb(0xffd9de)));
    callToAction(canvas, "Press Enter to quit", {950, 620}, rgb(0xffffff), rgb(0x7a1830));
    return canvas;
}

Canvas holePicture()
{
    Canvas canvas(kWidth, kHeight);
    canvas.fillAll(linear({0, 0}, rgb(0x0e1424), {0, kHeight}, rgb(0x2a3856)));
    // A stretch of floor seen from above and ahead, with the hole in it.
    Shape floor = polygon({{0, 420}, {1280, 420}, {1280, 720}, {0, 720}});
    Paint floorPaint = linear({0, 420}, rgb(0x6f7f9c), {0, 720}, rgb(0xaab6cc));
    canvas.fill(floor, floorPaint);
    for (int i = 1; i < 7; ++i)   // tile joints
        canvas.fill(capsule({i * 200.0f - 40, 420}, {i * 260.0f - 380, 720}, 1.5f), Color{0, 0, 0, 0.18f});
    vec2 hole(400, 540);
    vec2 radii(250, 90);
    canvas.fill(ellipse(hole, radii + vec2(10, 6)), rgb(0x394459));
    canvas.fill(ellipse(hole, radii), radial(hole + vec2(0, 30), 240, rgb(0x000000), rgb(0x141a26)));
    const TovikPose falling = pose(2.6f, 2.7f, 0.4f, -0.3f, 3.0f, true);
    drawTovik(canvas, {430, 392}, 240, falling);
    // Deeper down the hole is darker.
    canvas.fill(ellipse(hole, radii), linear({0, hole.y - 60}, Color{0, 0, 0, 0}, {0, hole.y + 60}, Color{0, 0, 0, 0.9f}));
    // The front lip of the floor hides what has already gone down the hole.
    Shape front = subtract(polygon({{0, hole.y}, {1280, hole.y}, {1280, 720}, {0, 720}}), ellipse(hole, radii + vec2(10, 6)));
    canvas.fill(front, floorPaint);
    canvas.fill(intersect(outline(ellipse(hole, radii + vec2(5, 3)), 5), polygon({{0, hole.y}, {1280, hole.y}, {1280, 720}, {0, 720}})),
                rgb(0x394459));
    for (int k = 0; k < 4; ++k)   // speed lines of the fall
        canvas.fill(capsule({340.0f + k * 40, 180.0f - (k % 2) * 30}, {340.0f + k * 40, 300.0f - (k % 2) * 30}, 4),
                    Color{1, 1, 1, 0.5f});
    drawText(canvas, "YOU FELL!", 910, 250, headline(120, rgb(0xffffff), rgb(0x1c3c8a)));
    drawText(canvas, "You fell into a hole.", 910, 325, body(44, rgb(0xd6e2ff)));
    callToAction(canvas, "Press Enter to quit", {910, 640}, rgb(0xffffff), rgb(0x1c3c8a));
    return canvas;
}

Canvas winPicture()
{
    Canvas canvas(kWidth, kHeight);
    canvas.fillAll(linear({0, 0}, rgb(0xffd65a), {0, kHeight}, rgb(0xff7a3a)));
    vec2 sun(330, 330);
    for (int k = 0; k < 16; ++k) {   // rays behind the winner
        float a0 = k * 0.3927f, a1 = a0 + 0.18f;
        canvas.fill(polygon({sun, sun + vec2(std::cos(a0), std::sin(a0)) * 1400.0f,
                             sun + vec2(std::cos(a1), std::sin(a1)) * 1400.0f}),
                    Color{1, 1, 1, 0.14f});
    }
    sprinkle(canvas, 7, 90, {rgb(0xff3a6a), rgb(0x3ad0ff), rgb(0x7cff5a), rgb(0xffffff), rgb(0x7a3aff)}, {0, 0},
             {kWidth, kHeight}, 9);
    // The goal platform with its flag.
    canvas.fill(roundedBox({120, 520}, {560, 600}, 10), rgb(0x3f8f4f));
    canvas.fill(roundedBox({120, 520}, {560, 540}, 8), rgb(0x6cc27a));
    canvas.fill(roundedBox({480, 170}, {492, 522}, 4), rgb(0x6b4b2a));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col) {
            vec2 lo(492.0f + col * 22, 176.0f + row * 22 + std::sin(col * 0.9f) * 6);
            canvas.fill(polygon({lo, lo + vec2(22, 0), lo + vec2(22, 22), lo + vec2(0, 22)}),
                        (row + col) % 2 ? rgb(0x1d1b26) : rgb(0xffffff));
        }
    const TovikPose cheering = pose(2.6f, 2.6f, 0.25f, 0.25f);
    drawTovik(canvas, {320, 524}, 330, cheering);
    drawText(canvas, "YOU WIN!", 950, 270, headline(112, rgb(0xffffff), rgb(0xc2410c)));
    drawText(canvas, "You reached the goal!", 950, 340, body(44, rgb(0x5a1e00)));
    drawText(canvas, "The cat is still hungry...", 950, 392, body(30, rgb(0x6e3000)));
    callToAction(canvas, "Press Enter to quit", {950, 620}, rgb(0xffffff), rgb(0xc2410c));
    return canvas;
}

} // namespace

void writePictures(const std::string& root)
{
    saveJpeg(controlsPicture(), root + "/Images/controls.jpg");
    saveJpeg(caughtPicture(), root + "/Images/gameovercat.jpg");
    saveJpeg(holePicture(), root + "/Images/gameoverloch.jpg");
    saveJpeg(winPicture(), root + "/Images/win.jpg");
}

} // namespace assetgen

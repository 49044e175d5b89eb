// The desktop icon: the chasing cat's face on a tile in Tovik's hoodie blue,
// with speed streaks behind it. Painted once large and shrunk for each size,
// so the small icons stay sharp instead of being drawn with thinner lines.
#include "assets.h"
#include "drawings.h"
#include "image_files.h"
#include "palette.h"

namespace assetgen {

using glm::vec2;

const std::vector<int>& iconSizes()
{
    static const std::vector<int> sizes = {32, 48, 64, 128, 256};
    return sizes;
}

namespace {

Canvas paintIcon()
{
    constexpr int kSide = 512;
    constexpr float kSize = kSide;
    Canvas icon(kSide, kSide);
    vec2 lo(16, 16), hi(kSize - 16, kSize - 16);
    icon.fill(roundedBox(lo + vec2(0, 8), hi + vec2(0, 8), 96), Color{0, 0, 0, 0.35f});
    icon.fill(roundedBox(lo, hi, 96), linear(lo, scaled(kTovik.hoodie, 1.25f), hi, scaled(kTovik.hoodie, 0.7f)));
    for (int i = 0; i < 3; ++i) {
        float y = 190 + i * 70;
        icon.fill(capsule({56 + i * 18, y}, {170 + i * 6, y}, 13), withAlpha(kTovik.emblem, 0.9f));
    }
    CatExpression chasing;
    chasing.look = {-1.0f, 0.0f};
    chasing.pupil = 0.6f;
    icon.setView({150, -150}, {290, 300});
    drawCatFace(icon, chasing);
    icon.setView({1, 1}, {0, 0});
    return icon;
}

} // namespace

void writeIcons(const std::string& folder)
{
    Canvas icon = paintIcon();
    for (int size : iconSizes())
        savePng(icon.resized(size, size), folder + "/tovik3d-" + std::to_string(size) + ".png", true);
}

void writeWindowIcon(const std::string& root)
{
    // 64 pixels: enough for a taskbar or a window switcher, small to read at start.
    savePng(paintIcon().resized(64, 64), root + "/Images/icon.png", true);
}

} // namespace assetgen

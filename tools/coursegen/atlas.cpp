#include "atlas.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>

namespace ruma::course {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb operator*(Rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

// Faces are drawn unlit: the shading of a face's direction is painted in.
constexpr double kShadeX = 0.74;
constexpr double kShadeZ = 0.88;
constexpr double kShadeUnder = 0.55;

enum class FloorStyle { Flagstones, DiamondPlate, Tiles, Slate };
enum class WallStyle { Blocks, Panels, Ashlar, Bricks };

// Each section has its own colours, so a player knows where he is: sandstone
// at the start, steel docks, a jade hall, a dusk citadel at the top.
struct Palette {
    FloorStyle floorStyle;
    WallStyle wallStyle;
    Rgb floorA, floorB, grout;
    Rgb wall, mortar, wallTop;
    Rgb edge, tread, nosing, riser;
    Rgb rock, rockDark;
};

const Palette kPalettes[4] = {
    {FloorStyle::Flagstones, WallStyle::Blocks, {0.82, 0.70, 0.52}, {0.74, 0.62, 0.45}, {0.52, 0.42, 0.31},
     {0.74, 0.44, 0.29}, {0.88, 0.76, 0.60}, {0.92, 0.84, 0.68},
     {0.60, 0.50, 0.37}, {0.88, 0.80, 0.64}, {0.98, 0.96, 0.90}, {0.62, 0.48, 0.34},
     {0.56, 0.44, 0.32}, {0.36, 0.28, 0.21}},
    {FloorStyle::DiamondPlate, WallStyle::Panels, {0.58, 0.63, 0.68}, {0.50, 0.55, 0.61}, {0.30, 0.33, 0.37},
     {0.22, 0.42, 0.49}, {0.14, 0.28, 0.33}, {0.70, 0.74, 0.78},
     {0.42, 0.46, 0.50}, {0.62, 0.66, 0.70}, {0.98, 0.82, 0.12}, {0.36, 0.40, 0.45},
     {0.44, 0.47, 0.52}, {0.25, 0.27, 0.31}},
    {FloorStyle::Tiles, WallStyle::Ashlar, {0.40, 0.70, 0.58}, {0.30, 0.58, 0.49}, {0.86, 0.88, 0.80},
     {0.20, 0.42, 0.36}, {0.78, 0.70, 0.40}, {0.84, 0.86, 0.78},
     {0.26, 0.44, 0.38}, {0.78, 0.84, 0.76}, {0.99, 0.99, 0.96}, {0.24, 0.40, 0.34},
     {0.42, 0.46, 0.40}, {0.24, 0.28, 0.25}},
    {FloorStyle::Slate, WallStyle::Bricks, {0.55, 0.50, 0.66}, {0.46, 0.42, 0.57}, {0.28, 0.25, 0.34},
     {0.42, 0.35, 0.52}, {0.26, 0.22, 0.32}, {0.76, 0.70, 0.84},
     {0.36, 0.31, 0.44}, {0.66, 0.60, 0.74}, {0.98, 0.80, 0.36}, {0.34, 0.29, 0.42},
     {0.40, 0.36, 0.46}, {0.22, 0.19, 0.26}},
};

const Rgb kStripeYellow{0.96, 0.80, 0.10};
const Rgb kStripeBlack{0.13, 0.12, 0.11};
const Rgb kPit{0.16, 0.14, 0.15};
const Rgb kPitBottom{0.10, 0.06, 0.06};
const Rgb kLampLight{1.0, 0.93, 0.62};
const Rgb kLampRim{0.35, 0.33, 0.30};
const Rgb kCatOrange{0.90, 0.50, 0.16};
const Rgb kPaw{0.36, 0.20, 0.10};
const Rgb kGoldA{0.98, 0.80, 0.24};
const Rgb kGoldB{0.99, 0.97, 0.90};
const Rgb kStartGreen{0.30, 0.78, 0.40};

// ---------------------------------------------------------------- noise

std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^ static_cast<std::uint32_t>(y) * 0xd8163841u ^
                      seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

double hash01(std::int32_t x, std::int32_t y, std::uint32_t seed) { return (hash(x, y, seed) & 0xffffff) / 16777216.0; }

int wrap(int i, int period) { return ((i % period) + period) % period; }

// Value noise with whole periods across the tile, so a tile joins itself.
double noise(double x, double y, int periodX, int periodY, std::uint32_t seed)
{
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX), y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    double a = hash01(x0, y0, seed), b = hash01(x1, y0, seed);
    double c = hash01(x0, y1, seed), d = hash01(x1, y1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Two octaves of noise over a tile of w x h world units, `perUnit` cells a unit.
double grain(double wu, double wv, double w, double h, double perUnit, std::uint32_t seed)
{
    int px = std::max(1, static_cast<int>(std::lround(w * perUnit)));
    int py = std::max(1, static_cast<int>(std::lround(h * perUnit)));
    return 0.65 * noise(wu * px / w, wv * py / h, px, py, seed) +
           0.35 * noise(wu * 2 * px / w, wv * 2 * py / h, 2 * px, 2 * py, seed + 7);
}

// Distance of x to the nearest multiple of `period`.
double lineDistance(double x, double period)
{
    double f = x / period - std::floor(x / period);
    return std::min(f, 1 - f) * period;
}

double smoothBand(double distance, double halfWidth, double soft = 0.006)
{
    return 1.0 - std::clamp((distance - halfWidth) / soft + 0.5, 0.0, 1.0);
}

// ---------------------------------------------------------------- materials

Rgb floorColour(const Palette& p, double wu, double wv, double w, double h)
{
    double g = grain(wu, wv, w, h, 6, 11);
    switch (p.floorStyle) {
    case FloorStyle::Flagstones: {
        int sx = static_cast<int>(std::floor(wu)), sz = static_cast<int>(std::floor(wv));
        Rgb stone = mix(p.floorA, p.floorB, hash01(wrap(sx, 2), wrap(sz, 2), 3));
        double joint = smoothBand(std::min(lineDistance(wu, 1.0), lineDistance(wv, 1.0)), 0.018);
        return mix(stone * (0.9 + 0.2 * g), p.grout, joint);
    }
    case FloorStyle::DiamondPlate: {
        // raised diamonds on a diagonal lattice, panel seams every 2 units
        double a = (wu + wv) / 0.25, b = (wu - wv) / 0.25;
        double da = lineDistance(a, 1.0), db = lineDistance(b, 1.0);
        double bump = smoothBand(std::max(da, db) < 0.5 ? std::hypot(da - 0.5, db - 0.5) : 1.0, 0.12, 0.05);
        Rgb base = mix(p.floorB, p.floorA, bump) * (0.92 + 0.14 * g);
        double seam = smoothBand(std::min(lineDistance(wu, 2.0), lineDistance(wv, 2.0)), 0.015);
        return mix(base, p.grout, seam);
    }
    case FloorStyle::Tiles: {
        int tx = static_cast<int>(std::floor(wu / 0.5)), tz = static_cast<int>(std::floor(wv / 0.5));
        Rgb tile = ((tx + tz) & 1) ? p.floorA : p.floorB;
        double joint = smoothBand(std::min(lineDistance(wu, 0.5), lineDistance(wv, 0.5)), 0.012);
        return mix(tile * (0.94 + 0.1 * g), p.grout, joint);
    }
    case FloorStyle::Slate: {
        int row = static_cast<int>(std::floor(wv / 0.5));
        double shifted = wu + ((row & 1) ? 0.5 : 0.0);
        int col = static_cast<int>(std::floor(shifted));
        Rgb stone = mix(p.floorA, p.floorB, hash01(wrap(col, 2), wrap(row, 4), 5));
        double joint = smoothBand(std::min(lineDistance(shifted, 1.0), lineDistance(wv, 0.5)), 0.016);
        return mix(stone * (0.88 + 0.22 * g), p.grout, joint);
    }
    }
    return p.floorA;
}

// Walls are painted by world height, so courses of adjacent walls line up.
Rgb wallColour(const Palette& p, double wu, double wv, double w, double h)
{
    double g = grain(wu, wv, w, h, 5, 21);
    switch (p.wallStyle) {
    case WallStyle::Blocks:
    case WallStyle::Bricks: {
        double course = p.wallStyle == WallStyle::Blocks ? 0.5 : 0.25;
        double length = p.wallStyle == WallStyle::Blocks ? 1.0 : 0.5;
        int row = static_cast<int>(std::floor(wv / course));
        double shifted = wu + ((row & 1) ? length / 2 : 0.0);
        int col = static_cast<int>(std::floor(shifted / length));
        int periodCol = static_cast<int>(std::lround(w / length));
        Rgb block = p.wall * (0.9 + 0.16 * hash01(wrap(col, periodCol), wrap(row, 8), 9) + 0.1 * g);
        double joint = smoothBand(std::min(lineDistance(shifted, length), lineDistance(wv, course)), 0.016);
        return mix(block, p.mortar, joint);
    }
    case WallStyle::Panels: {
        // steel panels 1 x 1 with a seam and rivets near their corners
        double seam = smoothBand(std::min(lineDistance(wu, 1.0), lineDistance(wv, 1.0)), 0.012);
        double rx = lineDistance(wu, 1.0), ry = lineDistance(wv, 1.0);
        double rivet = smoothBand(std::hypot(rx - 0.07, ry - 0.07), 0.018, 0.01);
        Rgb base = p.wall * (0.92 + 0.14 * g);
        base = mix(base, p.wall * 1.35, rivet);
        return mix(base, p.mortar, seam);
    }
    case WallStyle::Ashlar: {
        int row = static_cast<int>(std::floor(wv / 0.5));
        double shifted = wu + ((row & 1) ? 0.25 : 0.0);
        Rgb block = p.wall * (0.9 + 0.18 * g);
        double joint = smoothBand(std::min(lineDistance(shifted, 0.5), lineDistance(wv, 0.5)), 0.01);
        // a gold trim band at the middle of every second course
        double trim = smoothBand(lineDistance(wv - 0.25, 1.0), 0.02);
        return mix(mix(block, p.mortar * 0.8, joint), p.mortar, trim);
    }
    }
    return p.wall;
}

struct Painter {
    const Palette& p;

    Rgb paint(Cell cell, double tu, double tv) const
    {
        CellSize s = cellSize(cell);
        double wu = tu * s.worldU, wv = tv * s.worldV;
        double g = grain(wu, wv, s.worldU, s.worldV, 5, 31);
        switch (cell) {
        case Cell::Floor: return floorColour(p, wu, wv, s.worldU, s.worldV);
        case Cell::WallX: return wallColour(p, wu, wv, s.worldU, s.worldV) * kShadeX;
        case Cell::WallZ: return wallColour(p, wu, wv, s.worldU, s.worldV) * kShadeZ;
        case Cell::WallTop: {
            double joint = smoothBand(lineDistance(wu, 1.0), 0.012);
            return mix(p.wallTop * (0.92 + 0.12 * g), p.wallTop * 0.7, joint);
        }
        case Cell::EdgeX:
        case Cell::EdgeZ: {
            // the slab's edge under a floor: a light lip at the top
            double shade = cell == Cell::EdgeX ? kShadeX : kShadeZ;
            Rgb c = wv > s.worldV - 0.06 ? p.floorA * 1.05 : p.edge * (0.9 + 0.15 * g);
            return c * shade;
        }
        case Cell::Tread: {
            // tread top: the nosing at the front edge (v = 0), grip grooves behind it
            if (wv < 0.07) return p.nosing * (0.95 + 0.05 * g);
            double groove = (wv > 0.1 && wv < 0.3) ? smoothBand(lineDistance(wv - 0.1, 0.06), 0.008) : 0.0;
            return mix(p.tread * (0.9 + 0.12 * g), p.tread * 0.62, groove);
        }
        case Cell::RiserX:
        case Cell::RiserZ: {
            double shade = cell == Cell::RiserX ? kShadeX : kShadeZ;
            Rgb c = wv > s.worldV - 0.035 ? p.nosing : p.riser * (0.9 + 0.14 * g);
            return c * shade;
        }
        case Cell::CatTread: {
            // the cat's own steps: orange, with paw prints
            Rgb base = kCatOrange * (0.88 + 0.16 * g);
            double lu = std::fmod(wu, 1.0);
            double du = lu - 0.5, dv = wv - 0.2;
            double pad = smoothBand(std::hypot(du / 1.2, dv), 0.07, 0.012);
            double toes = 0;
            for (double tx : {-0.08, -0.027, 0.027, 0.08}) {
                double ty = std::fabs(tx) > 0.05 ? 0.1 : 0.125;
                toes = std::max(toes, smoothBand(std::hypot(du - tx, dv - ty), 0.024, 0.01));
            }
            return mix(base, kPaw, std::max(pad, toes));
        }
        case Cell::CatRiserX:
        case Cell::CatRiserZ: {
            double shade = cell == Cell::CatRiserX ? kShadeX : kShadeZ;
            Rgb c = wv > s.worldV - 0.035 ? kCatOrange * 1.1 : kCatOrange * (0.6 + 0.1 * g);
            return c * shade;
        }
        case Cell::Stripes: {
            double stripe = std::fmod((wu + wv) / 0.5 + 100.0, 1.0) < 0.5 ? 1.0 : 0.0;
            return mix(kStripeBlack, kStripeYellow, stripe) * (0.92 + 0.1 * g);
        }
        case Cell::PitWallX:
        case Cell::PitWallZ: {
            double shade = cell == Cell::PitWallX ? kShadeX : kShadeZ;
            double streak = noise(wu * 8, wv * 0.5, 16, 1, 41);
            return kPit * (0.8 + 0.5 * streak * g) * shade;
        }
        case Cell::PitBottom: {
            double grid = smoothBand(std::min(lineDistance(wu, 0.25), lineDistance(wv, 0.25)), 0.02);
            return mix(kPitBottom * (0.8 + 0.4 * g), Rgb{0.30, 0.08, 0.06}, grid);
        }
        case Cell::LampMark: {
            // a round light plate under each lamp
            double r = std::hypot(tu - 0.5, tv - 0.5) * s.worldU;
            Rgb plate = mix(p.floorA, kLampRim, 0.45) * (0.9 + 0.1 * g);
            double border = smoothBand(std::min(lineDistance(tu, 1.0), lineDistance(tv, 1.0)) * s.worldU, 0.05);
            plate = mix(plate, kLampRim * 0.7, border);
            if (r < 0.55) plate = mix(kLampRim, kLampLight, smoothBand(r, 0.5, 0.02));
            double ring = smoothBand(std::fabs(r - 0.32), 0.025, 0.01);
            return mix(plate, kLampLight * 0.75, ring);
        }
        case Cell::Goal: {
            int cx = static_cast<int>(std::floor(wu / 0.5)), cz = static_cast<int>(std::floor(wv / 0.5));
            return (((cx + cz) & 1) ? kGoldA : kGoldB) * (0.94 + 0.08 * g);
        }
        case Cell::Start: {
            double r = std::hypot(tu - 0.5, tv - 0.5) * s.worldU;
            Rgb c = floorColour(p, wu, wv, s.worldU, s.worldV);
            double rings = smoothBand(std::fabs(r - 0.85), 0.05) + smoothBand(std::fabs(r - 0.55), 0.04);
            if (r < 0.3) rings = 1;
            return mix(c, kStartGreen, std::min(1.0, rings));
        }
        case Cell::RockTop:
        case Cell::RockSideX:
        case Cell::RockSideZ:
        case Cell::RockUnder: {
            double big = grain(wu, wv, s.worldU, s.worldV, 1.5, 51);
            Rgb c = mix(p.rockDark, p.rock, 0.35 + 0.65 * (0.6 * big + 0.4 * g));
            if (cell == Cell::RockSideX || cell == Cell::RockSideZ) {
                // layered rock on the cliffs
                double layer = noise(wu * 0.5, wv * 3, static_cast<int>(s.worldU * 0.5), static_cast<int>(s.worldV * 3), 61);
                c = mix(c, p.rockDark, 0.35 * layer);
            }
            double shade = cell == Cell::RockSideX ? kShadeX
                           : cell == Cell::RockSideZ ? kShadeZ
                           : cell == Cell::RockUnder ? kShadeUnder
                                                     : 1.0;
            return c * shade;
        }
        case Cell::Underside: return p.edge * ((0.85 + 0.2 * g) * kShadeUnder);
        case Cell::Bevel: return mix(p.wallTop, Rgb{1, 1, 1}, 0.35);
        }
        return {1, 0, 1};
    }
};

std::uint8_t toByte(double c) { return static_cast<std::uint8_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0)); }

} // namespace

CellSize cellSize(Cell cell)
{
    switch (cell) {
    case Cell::EdgeX:
    case Cell::EdgeZ:
    case Cell::Tread:
    case Cell::RiserX:
    case Cell::RiserZ:
    case Cell::CatTread:
    case Cell::CatRiserX:
    case Cell::CatRiserZ: return {2.0, 1.0};
    case Cell::LampMark: return {1.4, 1.4};
    case Cell::RockTop:
    case Cell::RockSideX:
    case Cell::RockSideZ:
    case Cell::RockUnder: return {8.0, 8.0};
    case Cell::Underside: return {4.0, 4.0};
    default: return {2.0, 2.0};
    }
}

void atlasUv(Cell cell, double tu, double tv, double& u, double& v)
{
    int index = static_cast<int>(cell);
    int column = index % kAtlasGrid, row = index / kAtlasGrid;
    double inner = 1.0 - 2.0 * kGutter;
    u = (column + kGutter + tu * inner) / kAtlasGrid;
    v = (row + kGutter + tv * inner) / kAtlasGrid;
}

Image paintAtlas(int section)
{
    Image image;
    image.width = image.height = kHighResolution;
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    Painter painter{kPalettes[section]};
    const double cellPixels = static_cast<double>(kHighResolution) / kAtlasGrid;
    const double inner = 1.0 - 2.0 * kGutter;
    for (int y = 0; y < image.height; ++y) {
        double cy = (y + 0.5) / cellPixels;
        int row = static_cast<int>(cy);
        double tv = ((cy - row) - kGutter) / inner;
        tv -= std::floor(tv);   // the gutter repeats the tile
        for (int x = 0; x < image.width; ++x) {
            double cx = (x + 0.5) / cellPixels;
            int column = static_cast<int>(cx);
            double tu = ((cx - column) - kGutter) / inner;
            tu -= std::floor(tu);
            Rgb c = painter.paint(static_cast<Cell>(row * kAtlasGrid + column), tu, tv);
            std::uint8_t* out = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            out[0] = toByte(c.r);
            out[1] = toByte(c.g);
            out[2] = toByte(c.b);
        }
    }
    return image;
}

Image shrinkImage(const Image& image, int factor)
{
    Image out;
    out.width = image.width / factor;
    out.height = image.height / factor;
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy)
                    for (int dx = 0; dx < factor; ++dx)
                        sum += image.rgb[((static_cast<size_t>(y) * factor + dy) * image.width + x * factor + dx) * 3 + c];
                out.rgb[(static_cast<size_t>(y) * out.width + x) * 3 + c] =
                    static_cast<std::uint8_t>((sum + factor * factor / 2) / (factor * factor));
            }
    return out;
}

std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality)
{
    std::vector<std::uint8_t> bytes;
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 24);
    if (!bitmap) return bytes;
    for (int y = 0; y < image.height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        const std::uint8_t* source = &image.rgb[static_cast<size_t>(y) * image.width * 3];
        for (int x = 0; x < image.width; ++x) {
            row[x * 3 + FI_RGBA_RED] = source[x * 3 + 0];
            row[x * 3 + FI_RGBA_GREEN] = source[x * 3 + 1];
            row[x * 3 + FI_RGBA_BLUE] = source[x * 3 + 2];
        }
    }
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (FreeImage_SaveToMemory(FIF_JPEG, bitmap, memory, quality | JPEG_OPTIMIZE | JPEG_BASELINE)) {
        BYTE* data = nullptr;
        DWORD size = 0;
        if (FreeImage_AcquireMemory(memory, &data, &size)) bytes.assign(data, data + size);
    }
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(bitmap);
    return bytes;
}

} // namespace ruma::course

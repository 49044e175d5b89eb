// The texture atlas of a section. A section is drawn with one texture and no
// lighting, so the texture carries every material and the shading: cells for
// floors, walls, treads with their nosing, the cat's steps, warning stripes,
// pit interiors, lamp marks, the goal and the rock of the foundations, with
// faces turned towards x baked darker than faces turned towards z.
//
// The cells lie in a 5 x 5 grid. Each cell holds one tile of its material,
// `worldU` x `worldV` world units large; meshes map each tile of a face onto
// the inner part of its cell, and the gutter round it repeats the tile so
// that mip-mapping blends the tile with itself, not with its neighbours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ruma::course {

enum class Cell {
    // Row by row from the bottom of the image; neighbours have like colours,
    // since far away the mip-maps blend a cell with the cells round it.
    PitWallX, Underside, RockUnder, PitBottom, PitWallZ,
    RiserZ, Start, LampMark, Goal, Bevel,
    RiserX, Tread, Floor, WallTop, Stripes,
    EdgeX, WallX, WallZ, EdgeZ, CatTread,
    RockSideX, RockTop, RockSideZ, CatRiserX, CatRiserZ,
};

constexpr int kAtlasGrid = 5;
constexpr int kHighResolution = 2048;
constexpr int kLowResolution = 512;
// Gutter round a cell's tile, as a share of the cell (24 texels high, 6 low).
constexpr double kGutter = 24.0 / (kHighResolution / static_cast<double>(kAtlasGrid));

struct CellSize {
    double worldU, worldV;
};

CellSize cellSize(Cell cell);

// Texture coordinates of a point of a tile: (tu, tv) in 0..1 within the tile.
void atlasUv(Cell cell, double tu, double tv, double& u, double& v);

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;   // rows bottom first, as the game uploads them
};

// The atlas of a section (0..3) at the high resolution.
Image paintAtlas(int section);
// Box-filtered to a quarter of the size per side.
Image shrinkImage(const Image& image, int factor);
// Encodes as JPEG; empty on failure.
std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality);

} // namespace ruma::course

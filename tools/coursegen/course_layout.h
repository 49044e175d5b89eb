// The course as one description in code: every box of the four sections (one
// box = one mesh = one static collision box in the game), the flights of
// stairs, the holes with their pits, and the line a player walks from the
// start to the goal. The model files, the textures' decal places, the preview
// and the course tests all read it from here.
#pragma once

#include <string>
#include <vector>

namespace ruma::course {

constexpr int kSectionCount = 4;

enum class BoxKind { Floor, Wall, Stair, CatStair, Pit, Foundation };

// The side of a box that faces the climber on a flight (its riser).
enum class Side { None, MinX, MaxX, MinZ, MaxZ };

struct Box {
    int section = 0;   // 0..3 for e1..e4
    BoxKind kind = BoxKind::Floor;
    std::string name;
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0, z0 = 0, z1 = 0;
    Side front = Side::None;   // stairs only
    // Foundations: only one slab per section carries faces; the others are
    // slivers whose vertices just span their box.
    bool sliver = false;
};

struct Flight {
    int section = 0;
    std::string name;
    bool forPlayer = true;   // false: the cat's own steep steps
    char axis = 'x';         // the climb runs along this axis
    double first = 0, last = 0;   // first and last riser along the axis
    double lo = 0, hi = 0;        // floor tops below and above
    double across0 = 0, across1 = 0;
    int risers = 0;
    double rise = 0, run = 0;
};

// A gap in a deck with a pit bottom under it, inside one of the hole zones.
struct Hole {
    double x0, x1, z0, z1;
    double pitTop, deckTop;
};

struct PathPoint {
    std::string name;
    double x, floor, z;   // floor: the top the player walks on there
};

struct Course {
    std::vector<Box> boxes;   // file order within each section
    std::vector<Flight> flights;
    std::vector<Hole> holes;
    std::vector<PathPoint> path;   // the recommended line, start to goal
};

// Built once on first use.
const Course& course();

const char* sectionFileStem(int section);   // "e1" .. "e4"

} // namespace ruma::course

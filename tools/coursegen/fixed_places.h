// Places the game fixes in code and the course has to fit: the player's start,
// the cat's timed route and closing loop, the slimes, the lamps, and the hole
// and goal zones of the rules. The course generator shapes the sections around
// them and the course tests measure the sections against them.
#pragma once

namespace ruma::course {

struct Point3 {
    double x, y, z;
};

// Model translation of the player at start; the body centre starts here.
constexpr Point3 kPlayerStart{3.0, 1.0, -4.0};
// A player standing on a floor whose top is h has the controls' position at
// h + 1.125: capsule radius 0.375 plus half its 0.75 cylinder, model origin
// 0.625 below the body centre, position 1.0 above the model origin.
constexpr double kStandingPositionAboveFloor = 1.125;
constexpr double kCapsuleRadius = 0.375;

constexpr Point3 kCatStart{2.0, -0.9, -11.0};

struct Waypoint {
    double step;   // seconds after the previous waypoint
    double x, y, z;
};

constexpr Waypoint kCatRoute[35] = {
    {0.1, 2, -0.95, -10},       {4.5, 2, -0.95, -6},         {6.5, 2, -0.95, 25},
    {4, 49, -0.95, 25},         {2, 54, 3.95, 25},           {3, 72, 3.95, 25},
    {3, 77.3, 3.95, 19.9},      {2, 73, 3.95, 1.7},          {3, 82.7, 3.95, -18.5},
    {2, 94, 3.95, -16.8},       {3, 90.4, 3.95, 4.3},        {2, 97.3, 3.95, 15},
    {3, 93.3, 3.95, 24.7},      {3, 117.5, 3.95, 25.2},      {1, 117.8, 3.95, 15.2},
    {0.5, 115, 3.95, 15},       {2, 105.3, 13.95, 15},       {4, 71, 13.95, 14.8},
    {6.5, 71.9, 13.95, 58.9},   {2, 62.9, 13.95, 59},        {4.5, 63.3, 13.95, 15},
    {2, 54.9, 13.95, 15.1},     {5.5, 54.3, 13.95, 59.82},   {2, 47.1, 14.03, 60.24},
    {5.5, 47.5, 13.95, 14.6},   {6, 15.3, 13.95, 15.6},      {3, 9.9, 18.95, 15.2},
    {5.5, -24.7, 18.95, 15.5},  {5.5, -32.1, 18.95, 49.6},   {5, -54.1, 18.95, 47.6},
    {6, -51.3, 18.95, 15.71},   {3, -40.7, 18.95, 24.1},     {2, -40.1, 18.95, 32.51},
    {3, -46.3, 18.95, 33.32},   {2, -46.3, 18.95, 24.4},
};

// Circled for as long as the game runs once the route is done.
constexpr Waypoint kCatLoop[4] = {
    {3, -40.7, 19.8, 24.1}, {2, -40.1, 19.8, 32.51}, {3, -46.3, 19.8, 33.32}, {2, -46.3, 19.8, 24.4},
};

struct SlimePlace {
    bool moving;   // moving slimes sway 0.8 to either side along x
    double x, y, z;
};

constexpr double kSlimeSway = 0.8;

constexpr SlimePlace kSlimes[11] = {
    {true, 2.6, -1.2, 9.0},     {false, 45.9, -1.2, 24.6},  {false, 73.2, 3.7, 0.9},
    {true, 91.5, 3.7, 4.3},     {false, 71.9, 13.7, 19.1},  {true, 62.3, 13.7, 46.4},
    {false, 45.0, 13.7, 14.7},  {false, 9.9, 18.65, 15.0},  {false, -20.3, 18.7, 33.4},
    {true, -63.3, 18.7, 46.7},  {false, -41.5, 22.7, 38.0},
};

constexpr Point3 kLamps[19] = {
    {2.61, 2.85, -2.94},   {2.61, 2.85, 25.7},    {23.9, 2.85, 24.9},    {48.4, 2.85, 24.91},
    {67.2, 7.86, 24.9},    {82.36, 7.86, 6.38},   {89.84, 7.86, 23.15},  {117.27, 7.86, 24.98},
    {105.56, 17.88, 14.98}, {79.26, 17.88, 15.08}, {70.23, 17.88, 34.61}, {62.34, 17.88, 34.61},
    {53.58, 17.88, 34.61}, {47.34, 17.88, 26.47}, {25.28, 17.88, 15.02}, {-12.97, 22.84, 15.02},
    {-33.57, 22.84, 31.21}, {-43.23, 22.84, 29.05}, {-42.5, 27.89, 49.17},
};

// An axis-aligned region of the rules, bounds inclusive.
struct Zone {
    double x0, x1, y0, y1, z0, z1;
    bool contains(double x, double y, double z) const
    {
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && z >= z0 && z <= z1;
    }
};

// Standing in one of these loses the run ("fell into a hole").
constexpr Zone kHoleZones[3] = {
    {99, 102, 1, 3, 22, 27},
    {107, 110, 1, 3, 22, 27},
    {-2, 10, 12, 15.5, 13, 17},
};

constexpr Zone kGoalZone{-44, -40, 27, 1e9, 56, 58};

} // namespace ruma::course

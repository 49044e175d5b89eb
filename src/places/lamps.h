// The course's lamps, each a spot light and a weak point light at one place.
// The Renderer lights the scene with them; the course puts a floor under each.
#pragma once

namespace ruma {

struct LampPlace {
    float x, y, z;
};

// Along the course, in priority order: when more lamps are in range than
// slots, the earlier ones win.
inline constexpr LampPlace kLamps[] = {
    {2.61f, 2.85f, -2.94f},   {2.61f, 2.85f, 25.7f},    {23.9f, 2.85f, 24.9f},
    {48.4f, 2.85f, 24.91f},   {67.2f, 7.86f, 24.9f},    {82.36f, 7.86f, 6.38f},
    {89.84f, 7.86f, 23.15f},  {117.27f, 7.86f, 24.98f}, {105.56f, 17.88f, 14.98f},
    {79.26f, 17.88f, 15.08f}, {70.23f, 17.88f, 34.61f}, {62.34f, 17.88f, 34.61f},
    {53.58f, 17.88f, 34.61f}, {47.34f, 17.88f, 26.47f}, {25.28f, 17.88f, 15.02f},
    {-12.97f, 22.84f, 15.02f}, {-33.57f, 22.84f, 31.21f}, {-43.23f, 22.84f, 29.05f},
    {-42.5f, 27.89f, 49.17f},
};

} // namespace ruma

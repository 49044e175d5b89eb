// The cat's timed route through the four sections and the closing loop it
// circles afterwards. The Cat follows them; the course is built around them.
#pragma once

namespace ruma::scene {

struct RouteStep {
    double step;   // seconds after the waypoint before
    float x, y, z;
};

// Through all four sections, ending on the last platform.
inline constexpr RouteStep kRoute[] = {
    {0.1, 2.0f, -0.95f, -10.0f},     {4.5, 2.0f, -0.95f, -6.0f},      {6.5, 2.0f, -0.95f, 25.0f},
    {4.0, 49.0f, -0.95f, 25.0f},     {2.0, 54.0f, 3.95f, 25.0f},      {3.0, 72.0f, 3.95f, 25.0f},
    {3.0, 77.3f, 3.95f, 19.9f},      {2.0, 73.0f, 3.95f, 1.7f},       {3.0, 82.7f, 3.95f, -18.5f},
    {2.0, 94.0f, 3.95f, -16.8f},     {3.0, 90.4f, 3.95f, 4.3f},       {2.0, 97.3f, 3.95f, 15.0f},
    {3.0, 93.3f, 3.95f, 24.7f},      {3.0, 117.5f, 3.95f, 25.2f},     {1.0, 117.8f, 3.95f, 15.2f},
    {0.5, 115.0f, 3.95f, 15.0f},     {2.0, 105.3f, 13.95f, 15.0f},    {4.0, 71.0f, 13.95f, 14.8f},
    {6.5, 71.9f, 13.95f, 58.9f},     {2.0, 62.9f, 13.95f, 59.0f},     {4.5, 63.3f, 13.95f, 15.0f},
    {2.0, 54.9f, 13.95f, 15.1f},     {5.5, 54.3f, 13.95f, 59.82f},    {2.0, 47.1f, 14.03f, 60.24f},
    {5.5, 47.5f, 13.95f, 14.6f},     {6.0, 15.3f, 13.95f, 15.6f},     {3.0, 9.9f, 18.95f, 15.2f},
    {5.5, -24.7f, 18.95f, 15.5f},    {5.5, -32.1f, 18.95f, 49.6f},    {5.0, -54.1f, 18.95f, 47.6f},
    {6.0, -51.3f, 18.95f, 15.71f},   {3.0, -40.7f, 18.95f, 24.1f},    {2.0, -40.1f, 18.95f, 32.51f},
    {3.0, -46.3f, 18.95f, 33.32f},   {2.0, -46.3f, 18.95f, 24.4f},
};

// Circled for as long as the game goes on once the route is done.
inline constexpr RouteStep kClosingLoop[] = {
    {3.0, -40.7f, 19.8f, 24.1f},
    {2.0, -40.1f, 19.8f, 32.51f},
    {3.0, -46.3f, 19.8f, 33.32f},
    {2.0, -46.3f, 19.8f, 24.4f},
};

} // namespace ruma::scene

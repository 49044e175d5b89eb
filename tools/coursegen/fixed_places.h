// Places the game fixes in code and the course has to fit: the player's and the
// cat's start, the cat's timed route and closing loop (scene::kRoute,
// scene::kClosingLoop), the slimes (kSlimePlaces), the lamps (kLamps), and the
// hole and goal zones of the rules (kHoleZones, kGoalZone). The course
// generator shapes the sections around them and the course tests measure the
// sections against them with what is below.
#pragma once

#include "places/cat_route.h"
#include "places/end_zones.h"
#include "places/lamps.h"
#include "places/slime_places.h"
#include "places/start_places.h"

#include <charconv>

namespace ruma::course {

struct Point3 {
    double x, y, z;
};

// The game keeps its places in floats; the course is laid out at the decimals
// they are written as (a lamp at z 25.7, not 25.700000762939453). The shortest
// decimal that reads back as the same float is that decimal.
inline double asWritten(float value)
{
    char text[32];
    char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double written = 0.0;
    std::from_chars(text, end, written);
    return written;
}

template <class Place>
Point3 asWritten(const Place& p) { return {asWritten(p.x), asWritten(p.y), asWritten(p.z)}; }

// A player standing on a floor whose top is h has the controls' position at
// h + 1.125: capsule radius 0.375 plus half its 0.75 cylinder, model origin
// 0.625 below the body centre, position 1.0 above the model origin.
constexpr double kStandingPositionAboveFloor = 1.125;

} // namespace ruma::course

// Places the game fixes in code and the course has to fit: the player's start,
// the cat's timed route and closing loop, the slimes, the lamps, and the hole
// and goal zones of the rules. The course generator shapes the sections around
// them and the course tests measure the sections against them.
//
// The route and loop (scene::kRoute, scene::kClosingLoop), the slimes
// (kSlimePlaces), the lamps (kLamps) and the end zones (kHoleZones, kGoalZone)
// are the game's own tables, read from the subsystems that use them; what is
// below is what the course measures them with.
#pragma once

#include "app/end_zones.h"
#include "render/lamps.h"
#include "scene/cat_route.h"
#include "world/slime_places.h"

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

inline Point3 asWritten(const LampPlace& lamp) { return {asWritten(lamp.x), asWritten(lamp.y), asWritten(lamp.z)}; }

// Model translation of the player at start; the body centre starts here.
constexpr Point3 kPlayerStart{3.0, 1.0, -4.0};
// A player standing on a floor whose top is h has the controls' position at
// h + 1.125: capsule radius 0.375 plus half its 0.75 cylinder, model origin
// 0.625 below the body centre, position 1.0 above the model origin.
constexpr double kStandingPositionAboveFloor = 1.125;
constexpr double kCapsuleRadius = 0.375;

// Where the cat waits until its route starts.
constexpr Point3 kCatStart{2.0, -0.9, -11.0};

// Moving slimes sway this far to either side of their place along x.
constexpr double kSlimeSway = 0.8;

} // namespace ruma::course

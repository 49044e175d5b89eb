#include "course_layout.h"

#include "places/start_places.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <functional>

namespace ruma::course {

namespace {

// Floor tops of the four levels (the slimes, the cat and the lamps sit at
// these heights) and of the slime-11 landing and the goal platform.
constexpr double kFloor1 = -1.2;
constexpr double kFloor2 = 3.7;
constexpr double kFloor3 = 13.7;
constexpr double kFloor4 = 18.7;
constexpr double kLanding11 = 22.7;
constexpr double kGoalTop = 26.25;   // standing position 27.375, in the goal zone from 27

// A boosted jump lifts the capsule's bottom about 1.7 at 60 fps and up to
// about 2.45 at 30 fps: walls stand 3 above the floor they border.
constexpr double kWallHeight = 3.0;

// Player flights: rise at most 0.15 per step and a run of at least 2.75 times
// the height (20 degrees). Steeper flights throw the player into the air at
// the top, because the vertical speed gained on the treads is kept.
constexpr double kMaxRise = 0.15;
constexpr double kMinRun = 0.41;
constexpr double kRunPerRise = 2.75;
// The cat climbs at about 45 degrees on its own steps, whose rises of 0.4 or
// more the player's capsule (which steps up at most 0.375) cannot walk.
constexpr double kCatMinRise = 0.4;
constexpr double kCatClearance = 0.15;   // the cat glides this much above each step's top

// Holes A and B are 2.2 wide; hole 4 too, so a walker at speed 5 falls into
// each and a jump at speed 5 clears each.
constexpr double kHoleA[2] = {99.4, 101.6};
constexpr double kHoleB[2] = {107.4, 109.6};
constexpr double kHole4[2] = {3.3, 5.5};
constexpr double kPitTopAB = 0.5;   // a player on it stands inside zones A/B

// The cat's route from waypoint 28 to 29 runs under the final flight F2.
constexpr double kTunnelZ0 = 47.0, kTunnelZ1 = 50.5, kTunnelTop = 21.0;

// The gate over the top of every player flight: its lintel hangs this far
// above the upper floor (the player is 1.5 tall), over the last treads and
// the first stretch of the landing.
constexpr double kGateHeadroom = 1.9;
constexpr double kGateOverTreads = 3.0;
constexpr double kGateBeyondTop = 1.5;

// Foundation slab i reaches i times this below the shared top.
constexpr double kFoundationStep = 0.05;

using BaseRule = std::function<double(double, double)>;   // (tread min, tread max) -> bottom

class Builder {
public:
    Course c;

    void box(int sec, BoxKind kind, const std::string& name, double x0, double x1, double y0, double y1,
             double z0, double z1, Side front = Side::None)
    {
        Box b;
        b.section = sec;
        b.kind = kind;
        b.name = name;
        b.x0 = std::min(x0, x1);
        b.x1 = std::max(x0, x1);
        b.y0 = std::min(y0, y1);
        b.y1 = std::max(y0, y1);
        b.z0 = std::min(z0, z1);
        b.z1 = std::max(z0, z1);
        b.front = front;
        c.boxes.push_back(b);
    }

    void floor(int sec, const std::string& name, double x0, double x1, double z0, double z1, double top)
    {
        floor(sec, name, x0, x1, z0, z1, top, top - 1.0);
    }
    void floor(int sec, const std::string& name, double x0, double x1, double z0, double z1, double top,
               double bottom)
    {
        box(sec, BoxKind::Floor, name, x0, x1, bottom, top, z0, z1);
    }

    // A wall standing on a floor at `base`; it reaches 1 below that floor.
    void wall(int sec, const std::string& name, double x0, double x1, double z0, double z1, double base)
    {
        wall(sec, name, x0, x1, z0, z1, base, base + kWallHeight);
    }
    void wall(int sec, const std::string& name, double x0, double x1, double z0, double z1, double base,
              double top)
    {
        box(sec, BoxKind::Wall, name, x0, x1, base - 1.0, top, z0, z1);
    }

    // A player flight from the first riser at s0 in `direction` along `axis`:
    // the lower floor ends at s0, the upper floor starts at the returned last
    // riser. n = ceil(height / 0.15) risers and a run that keeps both each
    // tread and the whole flight at 20 degrees or less; with `s1` given the
    // run follows from it instead (a gentler flight).
    double flight(int sec, const std::string& name, char axis, double s0, int direction, double lo, double hi,
                  double a0, double a1, const BaseRule& base, double s1 = NAN)
    {
        double height = hi - lo;
        int n = static_cast<int>(std::ceil(height / kMaxRise - 1e-9));
        double rise = height / n;
        double run;
        if (std::isnan(s1)) {
            run = std::max(kMinRun, kRunPerRise * height / (n - 1));
            s1 = s0 + direction * (n - 1) * run;
        } else {
            run = std::fabs(s1 - s0) / (n - 1);
            direction = s1 > s0 ? 1 : -1;
        }
        assert((n - 1) * run >= kRunPerRise * height - 1e-6);
        Side front = axis == 'x' ? (direction > 0 ? Side::MinX : Side::MaxX)
                                 : (direction > 0 ? Side::MinZ : Side::MaxZ);
        for (int k = 1; k < n; ++k) {
            double sa = s0 + direction * (k - 1) * run, sb = s0 + direction * k * run;
            double top = lo + k * rise;
            double bottom = base(std::min(sa, sb), std::max(sa, sb));
            std::string tread = name + " tread " + std::to_string(k);
            if (axis == 'x')
                box(sec, BoxKind::Stair, tread, sa, sb, bottom, top, a0, a1, front);
            else
                box(sec, BoxKind::Stair, tread, a0, a1, bottom, top, sa, sb, front);
        }
        // A gate over the top of the flight. The body gains height on every
        // tread and keeps the upward speed when the stairs end: a boosted
        // runner would fly on over the landing. The gate's lintel stops that,
        // and it starts a few treads down so that a climber's head passes under.
        double g0 = s1 - direction * kGateOverTreads * run, g1 = s1 + direction * kGateBeyondTop;
        if (axis == 'x')
            box(sec, BoxKind::Wall, name + " gate lintel", g0, g1, hi + kGateHeadroom, hi + kWallHeight, a0, a1);
        else
            box(sec, BoxKind::Wall, name + " gate lintel", a0, a1, hi + kGateHeadroom, hi + kWallHeight, g0, g1);
        c.flights.push_back({sec, name, true, axis, s0, s1, lo, hi, a0, a1, n, rise, run});
        return s1;
    }

    // The cat's own steep steps under its straight climb from (sLo, yLo) to
    // (sHi, yHi): step k starts where the cat's line is 0.15 above its top.
    // Returns the first and the last riser.
    std::pair<double, double> catFlight(int sec, const std::string& name, double sLo, double yLo, double sHi,
                                        double yHi, double lo, double hi, double a0, double a1, double base)
    {
        double height = hi - lo;
        int n = static_cast<int>(std::floor(height / kCatMinRise + 1e-9));
        double rise = height / n;
        int d = sHi > sLo ? 1 : -1;
        double slope = (yHi - yLo) / std::fabs(sHi - sLo);
        std::vector<double> s;
        for (int k = 1; k <= n; ++k) s.push_back(sLo + d * (lo + k * rise + kCatClearance - yLo) / slope);
        Side front = d > 0 ? Side::MinX : Side::MaxX;
        for (int k = 1; k < n; ++k)
            box(sec, BoxKind::CatStair, name + " step " + std::to_string(k), s[k - 1], s[k], base, lo + k * rise,
                a0, a1, front);
        c.flights.push_back({sec, name, false, 'x', s.front(), s.back(), lo, hi, a0, a1, n, rise,
                             std::fabs(s[1] - s[0])});
        return {s.front(), s.back()};
    }

    // Foundations keep the section under the player drawn: the game draws a
    // section when at least a third of its mesh boxes touch the view, so each
    // section gets ceil(N/2) slabs spanning its footprint and more (apron),
    // sharing one top face (a deeper layer would leave the view sooner).
    void foundations(int sec, double top, double lowest, const double apron[4], const double* clip)
    {
        std::vector<const Box*> own;
        for (const Box& b : c.boxes)
            if (b.section == sec) own.push_back(&b);
        int count = static_cast<int>((own.size() + 1) / 2);
        double x0 = apron[0], x1 = apron[1], z0 = apron[2], z1 = apron[3];
        for (const Box* b : own) {
            x0 = std::min(x0, b->x0);
            x1 = std::max(x1, b->x1);
            z0 = std::min(z0, b->z0);
            z1 = std::max(z1, b->z1);
        }
        if (clip) {
            x0 = std::max(x0, clip[0]);
            x1 = std::min(x1, clip[1]);
        }
        double step = std::min(kFoundationStep, (top - lowest) / count);
        std::string stem = sectionFileStem(sec);
        for (int i = 0; i < count; ++i) {
            box(sec, BoxKind::Foundation, stem + " foundation " + std::to_string(i + 1), x0, x1,
                top - (i + 1) * step, top, z0, z1);
            // The deepest slab holds every other one inside it, so only it is
            // drawn; the slivers of the others stay hidden within it.
            c.boxes.back().sliver = i + 1 < count;
        }
    }
};

BaseRule solidTo(double bottom)
{
    return [bottom](double, double) { return bottom; };
}

Course build()
{
    Builder b;
    const int e1 = 0, e2 = 1, e3 = 2, e4 = 3;

    // ---- e1: the start and the L corridor at -1.2, climb 1 up to 3.7.
    // The player's flight runs east in the south strip of the corridor, on his
    // own line from slime 2 to the corner of the next section; the cat climbs
    // its own steep steps in the north lane; a divider keeps them apart.
    const double c1Foot = 47.0;
    double c1Top = b.flight(e1, "climb 1", 'x', c1Foot, +1, kFloor1, kFloor2, 22.0, 24.2, solidTo(-2.2));
    auto c1Cat = b.catFlight(e1, "climb 1 cat steps", 49.0, -0.95, 54.0, 3.95, kFloor1, kFloor2, 24.5, 28.0, -2.2);
    b.floor(e1, "leg1 floor", -0.4, 5.6, -13.0, 28.0, kFloor1);
    b.floor(e1, "leg2 floor", 5.6, c1Cat.first, 22.0, 28.0, kFloor1);
    b.wall(e1, "leg1 W wall", -0.9, -0.4, -13.5, 28.5, kFloor1);
    b.wall(e1, "start S wall", -0.9, 6.1, -13.5, -13.0, kFloor1);
    b.wall(e1, "leg1 E wall", 5.6, 6.1, -13.0, 21.5, kFloor1);
    b.wall(e1, "leg2 S wall", 5.6, c1Foot, 21.5, 22.0, kFloor1);
    b.wall(e1, "leg2 N wall", -0.4, 49.0, 28.0, 28.5, kFloor1);
    // The first 8 units of the A2 corridor belong to e1: e2's foundations
    // cannot reach west of x 54 (climb 1 lies lower there), and a player at
    // e2's very start looking back must still see some of them.
    const double splitX = std::max(62.0, c1Top + 1.0);
    b.floor(e1, "climb 1 cat lane top", c1Cat.second, c1Top, 24.2, 28.0, kFloor2);
    b.floor(e1, "A2 corridor (e1 part)", c1Top, splitX, 22.0, 28.0, kFloor2);
    b.wall(e1, "climb1 S wall", c1Foot, splitX, 21.5, 22.0, kFloor1, kFloor2 + kWallHeight);
    b.wall(e1, "climb1 divider", c1Foot, c1Top, 24.2, 24.5, kFloor1, kFloor2 + kWallHeight);
    b.wall(e1, "climb1 N wall", 49.0, 54.0, 28.0, 28.5, kFloor1, kFloor2 + kWallHeight);
    b.wall(e1, "A2 N wall (e1 part)", 54.0, splitX, 28.0, 28.5, kFloor2);

    // ---- e2 at 3.7: the A2 corridor, the B2 and D2 arms, the south yard
    // (the player's shortcut across the cat's zig-zag), the hole corridor with
    // pits A and B, the E2 turn and climb 2.
    b.floor(e2, "A2 corridor", splitX, 75.5, 22.0, 28.0, kFloor2);
    b.floor(e2, "B2 arm", 69.5, 80.5, 7.0, 22.0, kFloor2);
    b.floor(e2, "C2 south yard", 69.5, 97.5, -21.5, 7.0, kFloor2);
    b.floor(e2, "D2 arm", 86.5, 97.5, 7.0, 22.0, kFloor2);
    // Deck blocks solid down to the pit floor, so the pit walls keep a faller
    // inside the zone.
    b.floor(e2, "H2 deck W", 86.5, kHoleA[0], 22.0, 27.0, kFloor2, 0.0);
    b.floor(e2, "H2 deck mid", kHoleA[1], kHoleB[0], 22.0, 27.0, kFloor2, 0.0);
    b.floor(e2, "H2 deck E", kHoleB[1], 115.0, 22.0, 27.0, kFloor2, 0.0);
    b.box(e2, BoxKind::Pit, "pit A bottom", kHoleA[0], kHoleA[1], -0.5, kPitTopAB, 22.0, 27.0);
    b.box(e2, BoxKind::Pit, "pit B bottom", kHoleB[0], kHoleB[1], -0.5, kPitTopAB, 22.0, 27.0);
    // Climb 2 runs west from the E2 turn between the hole corridor and F3a,
    // along the player's line towards the serpentine. Over the D2 arm (x < 98)
    // its treads are thin, leaving D2 five units of head room.
    const double c2Foot = 115.0;
    double c2Top = b.flight(e2, "climb 2", 'x', c2Foot, -1, kFloor2, kFloor3, 17.5, 21.5,
                            [](double sa, double) { return sa >= 98.0 ? 2.7 : 8.7; });
    auto c2Cat = b.catFlight(e2, "climb 2 cat steps", 115.0, 3.95, 105.3, 13.95, kFloor2, kFloor3, 12.5, 17.0, 2.7);
    b.floor(e2, "E2 turn", std::min(115.0, c2Cat.first), 121.0, 12.5, 27.0, kFloor2);
    b.wall(e2, "A2 N wall", splitX, 75.5, 28.0, 28.5, kFloor2);
    b.wall(e2, "A2 S wall", splitX, 69.5, 21.5, 22.0, kFloor2);
    b.wall(e2, "A2/B2 E wall", 80.5, 81.0, 7.0, 22.0, kFloor2);
    b.wall(e2, "A2 E end", 75.5, 81.0, 22.0, 22.5, kFloor2);
    b.wall(e2, "B2 W wall", 69.0, 69.5, -21.5, 22.0, kFloor2);
    b.wall(e2, "C2 S wall", 69.0, 98.0, -22.0, -21.5, kFloor2);
    b.wall(e2, "C2/D2 E wall", 97.5, 98.0, -21.5, 22.0, kFloor2);
    b.wall(e2, "D2 W wall", 86.0, 86.5, 7.0, 22.0, kFloor2);
    b.wall(e2, "H2 S wall = climb2 N wall (down to pit floor)", 98.0, 115.0, 21.5, 22.0, 1.0, kFloor3 + kWallHeight);
    b.wall(e2, "climb2 N wall over D2", c2Top, 98.0, 21.5, 22.0, 9.7, kFloor3 + kWallHeight);
    b.wall(e2, "H2 N wall (down to pit floor)", 86.0, 121.5, 27.0, 27.5, 1.0, kFloor2 + kWallHeight);
    b.wall(e2, "H2 W end", 86.0, 86.5, 22.0, 27.0, kFloor2);
    b.wall(e2, "E2 E wall", 121.0, 121.5, 12.0, 27.0, kFloor2);
    b.wall(e2, "E2 S wall", 105.0, 121.5, 12.0, 12.5, kFloor2, kFloor3 + kWallHeight);
    b.wall(e2, "climb2 S wall (player flight | cat steps, F3a)", 97.5, 115.0, 17.0, 17.5, kFloor2,
           kFloor3 + kWallHeight);
    b.wall(e2, "climb2 S wall over D2", c2Top, 97.5, 17.0, 17.5, 9.7, kFloor3 + kWallHeight);

    // ---- e3 at 13.7: F3a, the serpentine hall of four lanes (the 3|4 wall
    // stops short of the south wall: the player's door past lanes 3 and 4),
    // and the F3b corridor to climb 3.
    b.floor(e3, "F3a corridor", 75.5, std::max(105.3, c2Cat.second), 12.5, 17.0, kFloor3);
    b.floor(e3, "climb 2 top landing", 76.0, c2Top, 17.0, 21.5, kFloor3);
    b.wall(e3, "climb 2 landing N wall", 75.5, c2Top, 21.5, 22.0, kFloor3);
    b.floor(e3, "lane 1", 67.5, 75.5, 12.5, 62.5, kFloor3);
    b.floor(e3, "lane 2", 59.0, 67.0, 12.5, 62.5, kFloor3);
    b.floor(e3, "lane 3", 51.0, 58.5, 12.5, 62.5, kFloor3);
    b.floor(e3, "lane 4", 43.5, 50.5, 12.5, 62.5, kFloor3);
    b.floor(e3, "lane gaps (under walls)", 67.0, 67.5, 55.5, 62.5, kFloor3);
    b.floor(e3, "lane gaps (under walls)", 58.5, 59.0, 12.5, 18.5, kFloor3);
    b.floor(e3, "lane gaps (under walls)", 50.5, 51.0, 12.5, 18.5, kFloor3);
    b.floor(e3, "lane gaps (under walls)", 50.5, 51.0, 56.0, 62.5, kFloor3);
    b.wall(e3, "wall 1|2", 67.0, 67.5, 12.5, 55.5, kFloor3);
    b.wall(e3, "wall 2|3", 58.5, 59.0, 18.5, 62.5, kFloor3);
    b.wall(e3, "wall 3|4 (south door z12.5-18.5 = SHORTCUT)", 50.5, 51.0, 18.5, 56.0, kFloor3);
    b.wall(e3, "hall N wall", 43.0, 76.0, 62.5, 63.0, kFloor3);
    b.wall(e3, "hall E wall", 75.5, 76.0, 17.0, 62.5, kFloor3);
    b.wall(e3, "hall W wall", 43.0, 43.5, 17.0, 62.5, kFloor3);
    b.wall(e3, "F3a/hall S wall", 43.0, 105.3, 12.0, 12.5, kFloor3);
    // Climb 3 runs west in a strip south of the corridor, the cat's steps
    // beside it under its line; both flights, the divider and their side walls
    // belong to e4, whose foundations lie ahead of a player looking west.
    const double c3Foot = 23.8;
    double c3Top = b.flight(e4, "climb 3", 'x', c3Foot, -1, kFloor3, kFloor4, 10.5, 14.0, solidTo(12.7));
    auto c3Cat = b.catFlight(e4, "climb 3 cat steps", 15.3, 13.95, 9.9, 18.95, kFloor3, kFloor4, 14.3, 17.0, 12.7);
    b.floor(e3, "F3b corridor", std::min(15.3, c3Cat.first), 43.5, 12.5, 17.0, kFloor3);
    b.wall(e3, "F3b N wall", 15.3, 43.0, 17.0, 17.5, kFloor3);
    b.wall(e3, "F3b S wall", c3Foot, 43.0, 12.0, 12.5, kFloor3);
    b.wall(e4, "climb3 S wall", c3Top, c3Foot + 0.5, 10.0, 10.5, kFloor3, kFloor4 + kWallHeight);
    b.wall(e3, "climb3 foot cap", c3Foot, c3Foot + 0.5, 10.5, 12.0, kFloor3);
    b.wall(e4, "climb3 divider", c3Top, c3Foot, 14.0, 14.3, kFloor3, kFloor4 + kWallHeight);
    b.wall(e4, "climb3 N wall", 9.9, 15.3, 17.0, 17.5, kFloor3, kFloor4 + kWallHeight);

    // ---- e4 at 18.7: the landing with slime 8, the corridor over hole 4
    // (its pit bottom inside the zone), the walled plateau of the cat's last
    // stretch and loop, and the final stairs to the goal.
    b.floor(e4, "landing+deck E of hole 4 (solid to pit bottom)", kHole4[1], std::max(c3Top, c3Cat.second), 10.5,
            17.0, kFloor4, kFloor3);
    b.box(e4, BoxKind::Pit, "pit 4 bottom", kHole4[0], kHole4[1], 12.7, kFloor3, 12.5, 17.0);
    b.floor(e4, "deck W of hole 4 (solid to pit bottom)", -2.0, kHole4[0], 12.5, 17.0, kFloor4, kFloor3);
    b.floor(e4, "corridor deck", -18.0, -2.0, 12.5, 17.0, kFloor4);
    b.wall(e4, "corridor N wall", -18.0, 9.9, 17.0, 17.5, kFloor3 + 1.0, kFloor4 + kWallHeight);
    b.wall(e4, "corridor S wall", -18.0, kHole4[1], 12.0, 12.5, kFloor3 + 1.0, kFloor4 + kWallHeight);
    b.wall(e4, "landing S wall", kHole4[1] - 0.5, c3Top, 10.0, 10.5, kFloor3 + 1.0, kFloor4 + kWallHeight);
    b.wall(e4, "landing SW wall", kHole4[1] - 0.5, kHole4[1], 10.5, 12.5, kFloor3 + 1.0, kFloor4 + kWallHeight);
    b.floor(e4, "plateau", -66.0, -18.0, 12.0, 52.0, kFloor4);
    b.wall(e4, "plateau S wall", -66.5, -18.0, 11.5, 12.0, kFloor4);
    b.wall(e4, "plateau E wall", -18.0, -17.5, 17.5, 52.5, kFloor4);
    b.wall(e4, "plateau N wall", -66.5, -44.5, 52.0, 52.5, kFloor4);
    b.wall(e4, "plateau N wall", -39.5, -17.5, 52.0, 52.5, kFloor4);
    b.wall(e4, "plateau W wall", -66.5, -66.0, 11.5, 52.0, kFloor4);   // the foundations would catch a faller alive
    // F1 runs north just east of the cat's loop to the slime-11 landing; F2
    // runs north to the goal platform and leaves the cat's passage under it.
    const double f1X0 = -39.0, f1X1 = -35.0;
    double f1Top = b.flight(e4, "final F1", 'z', 26.5, +1, kFloor4, kLanding11, f1X0, f1X1, solidTo(17.7));
    b.floor(e4, "slime-11 landing", -44.0, f1X1, f1Top, 39.0, kLanding11, 17.7);
    b.flight(e4, "final F2", 'z', 39.0, +1, kLanding11, kGoalTop, -44.0, -40.0,
             [](double sa, double sb) { return sb > kTunnelZ0 && sa < kTunnelZ1 ? kTunnelTop : 17.7; }, 56.0);
    b.floor(e4, "goal platform", -44.0, -40.0, 56.0, 58.0, kGoalTop, 17.7);
    b.wall(e4, "F1 W wall", f1X0 - 0.5, f1X0, 26.5, f1Top, kFloor4, kLanding11 + kWallHeight);
    b.wall(e4, "F1 E wall", f1X1, f1X1 + 0.5, 26.5, 39.5, kFloor4, kLanding11 + kWallHeight);
    b.wall(e4, "landing S wall", -44.5, f1X0, f1Top - 0.5, f1Top, kFloor4, kLanding11 + kWallHeight);
    b.wall(e4, "landing N wall", -40.0, f1X1 + 0.5, 39.0, 39.5, kFloor4, kLanding11 + kWallHeight);
    struct SideWall {
        double x0, x1, z0;
        const char* name;
    };
    for (const SideWall& w : {SideWall{-44.5, -44.0, f1Top - 0.5, "final W wall"},
                              SideWall{-40.0, -39.5, 39.0, "final E wall"}}) {
        std::string name = w.name;
        b.wall(e4, name, w.x0, w.x1, w.z0, kTunnelZ0, kFloor4, kGoalTop + kWallHeight);
        b.wall(e4, name + " over the cat passage", w.x0, w.x1, kTunnelZ0, kTunnelZ1, kTunnelTop + 1.0,
               kGoalTop + kWallHeight);
        b.wall(e4, name + " (north part)", w.x0, w.x1, kTunnelZ1, 58.5, kFloor4, kGoalTop + kWallHeight);
    }
    b.wall(e4, "F2 underside N end (plateau edge)", -44.0, -40.0, 52.0, 52.5, kFloor4, kTunnelTop);
    b.wall(e4, "goal back wall", -44.5, -39.5, 58.0, 58.5, kGoalTop, kGoalTop + kWallHeight);

    // ---- foundations. e1 under its floors; e2 under the pit bottoms, high
    // enough that a player on it is below zones A/B; e3 under its floors, east
    // of hole 4's zone and west of where climb 2's treads are lower than it;
    // e4 below hole 4's pit, low enough that a player on it is below zone 4,
    // and above e1's head room.
    double e3East = 1e9;
    for (const Box& bx : b.c.boxes)
        if (bx.kind == BoxKind::Stair && bx.name.rfind("climb 2 tread", 0) == 0 && bx.y1 < 12.7 - 1e-9)
            e3East = std::min(e3East, bx.x0);
    const double apron1[4] = {-20.0, 80.0, -30.0, 45.0};
    const double apron2[4] = {54.0, 140.0, -40.0, 50.0};
    const double apron3[4] = {10.05, 105.3, -25.0, 90.0};
    const double apron4[4] = {-90.0, 40.0, -10.0, 95.0};
    const double clip3[2] = {10.05, e3East};
    b.foundations(e1, -2.2, -12.0, apron1, nullptr);
    b.foundations(e2, -0.3, -12.0, apron2, nullptr);
    b.foundations(e3, 12.7, 8.5, apron3, clip3);
    b.foundations(e4, 10.8, 8.5, apron4, nullptr);

    // The recommended line through the layout, inside corners cut with about
    // 0.45 to spare.
    b.c.holes = {{kHoleA[0], kHoleA[1], 22.0, 27.0, kPitTopAB, kFloor2},
                 {kHoleB[0], kHoleB[1], 22.0, 27.0, kPitTopAB, kFloor2},
                 {kHole4[0], kHole4[1], 12.5, 17.0, kFloor3, kFloor4}};
    const double F1 = kFloor1, F2 = kFloor2, F3 = kFloor3, F4 = kFloor4;
    b.c.path = {
        {"start", kPlayerStart.x, F1, kPlayerStart.z}, {"slime 1", 2.6, F1, 9.0}, {"leg1/leg2 inner corner", 5.3, F1, 22.35},
        {"slime 2", 45.9, F1, 23.8}, {"climb 1 foot", c1Foot, F1, 23.75}, {"climb 1 top", c1Top, F2, 22.9},
        {"A2/B2 inner corner", 69.5, F2, 22.45}, {"A2/B2 inner corner", 69.82, F2, 22.32},
        {"A2/B2 inner corner", 69.95, F2, 22.0}, {"slime 3", 73.2, F2, 0.9}, {"slime 4 (yard cut)", 91.5, F2, 4.3},
        {"D2/H2 inner corner", 97.15, F2, 22.4}, {"hole A", 100.5, F2, 22.5}, {"hole B", 108.5, F2, 22.6},
        {"H2/E2 turn", 115.5, F2, 22.4}, {"round the H2 S wall end", 115.5, F2, 21.2},
        {"climb 2 foot", c2Foot, F2, 21.1}, {"climb 2 top", c2Top, F3, 18.05},
        {"F3a/lane1 inner corner", 75.15, F3, 16.65}, {"slime 5", 71.9, F3, 19.1},
        {"wall 1|2 north end", 67.95, F3, 55.5}, {"wall 1|2 north end", 67.82, F3, 55.82},
        {"wall 1|2 north end", 67.5, F3, 55.95}, {"wall 1|2 north end", 67.0, F3, 55.95},
        {"wall 1|2 north end", 66.68, F3, 55.82}, {"wall 1|2 north end", 66.55, F3, 55.5},
        {"slime 6", 62.3, F3, 46.4}, {"wall 2|3 south end", 59.45, F3, 18.5}, {"wall 2|3 south end", 59.32, F3, 18.18},
        {"wall 2|3 south end", 59.0, F3, 18.05}, {"wall 2|3 south end", 58.5, F3, 18.05},
        {"slime 7 (via 3|4 south door)", 45.0, F3, 14.7}, {"climb 3 foot", c3Foot, F3, 13.5},
        {"climb 3 top", c3Top, F4, 13.55}, {"slime 8", 9.6, F4, 14.5}, {"hole 4", 4.25, F4, 15.0},
        {"corridor end", -18.0, F4, 15.2}, {"final F1 foot", -35.45, F4, 26.5},
        {"final F1 top", -38.55, kLanding11, f1Top}, {"landing corner", -38.68, kLanding11, f1Top + 0.32},
        {"landing corner", -39.0, kLanding11, f1Top + 0.45}, {"slime 11", -41.5, kLanding11, 38.0},
        {"final F2 foot", -41.8, kLanding11, 39.0}, {"goal z=56", -42.0, kGoalTop, 56.0},
        {"goal centre", -42.0, kGoalTop, 57.0},
    };
    return b.c;
}

} // namespace

const Course& course()
{
    static const Course built = build();
    return built;
}

const char* sectionFileStem(int section)
{
    static const char* const stems[kSectionCount] = {"e1", "e2", "e3", "e4"};
    return stems[section];
}

} // namespace ruma::course

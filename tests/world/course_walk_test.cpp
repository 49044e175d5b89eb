// The generated course against the real controls and physics: every flight
// can be walked without being thrown, every gap catches a walker and lets a
// jumper across, and the section under the player stays drawn.
#include "app/game_rules.h"
#include "course_layout.h"
#include "render/frustum.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene/imported_object.h"
#include "world/start_answers.h"
#include "world/world.h"
#include "world/world_fixture.h"

#include <cmath>
#include <cstdio>

namespace ruma::test {
namespace {

const course::PathPoint& pathPoint(const std::string& name)
{
    for (const auto& point : course::course().path)
        if (point.name == name) return point;
    ADD_FAILURE() << "no path point " << name;
    static course::PathPoint none{"", 0, 0, 0};
    return none;
}

class CourseWalk : public PlayerWorld {
protected:
    void SetUp() override
    {
        PlayerWorld::SetUp();
        if (skipped) return;
        highResTextures = false;
        sectionShader = new Shader("Resources/Shader/basic.vert", "Resources/Shader/basicnolight.frag");
        for (int section = 1; section <= 4; ++section) {
            Texture* texture = nullptr;
            sections.push_back(loadSection(section, &texture, sectionShader));
            textures.push_back(texture);
            addCourseCollision(*sections.back());
        }
    }
    void TearDown() override
    {
        for (auto* section : sections) delete section;
        deleteShader(sectionShader);
        for (auto*& texture : textures) deleteTexture(texture);
        PlayerWorld::TearDown();
    }

    // Heading (yaw) that looks along +x, -x, +z or -z.
    static float heading(char axis, double sign)
    {
        if (axis == 'x') return sign > 0 ? 1.5707964f : -1.5707964f;
        return sign > 0 ? 0.0f : 3.1415927f;
    }
    double along(char axis) const { return axis == 'x' ? bodyOrigin().x() : bodyOrigin().z(); }
    void keepBoosted(bool boosted)
    {
        if (!boosted) return;
        controls->startBoost();
        controls->boostStartTime = scripted.time();
    }

    std::vector<scene::ImportedObject*> sections;
    Shader* sectionShader = nullptr;
    std::vector<Texture*> textures;
};

struct Climb {
    bool reachedTop = false;
    double thrownAbove = 0.0;   // highest body point over its resting height on the upper floor
    double seconds = 0.0;
};

struct FlightCase {
    const char* foot;
    const char* top;
};

const FlightCase kFlights[] = {
    {"climb 1 foot", "climb 1 top"},
    {"climb 2 foot", "climb 2 top"},
    {"climb 3 foot", "climb 3 top"},
    {"final F1 foot", "final F1 top"},
    {"final F2 foot", "goal z=56"},
};

TEST_F(CourseWalk, EveryFlightIsWalkedWithoutBeingBlockedOrThrown)
{
    for (const FlightCase& flightCase : kFlights) {
        const course::PathPoint& foot = pathPoint(flightCase.foot);
        const course::PathPoint& top = pathPoint(flightCase.top);
        char axis = std::fabs(top.x - foot.x) > std::fabs(top.z - foot.z) ? 'x' : 'z';
        double sign = (axis == 'x' ? top.x - foot.x : top.z - foot.z) > 0 ? 1.0 : -1.0;
        double footAlong = axis == 'x' ? foot.x : foot.z;
        double topAlong = axis == 'x' ? top.x : top.z;
        double length = std::fabs(topAlong - footAlong);
        for (double speed : {5.0, 10.0})
            for (double fps : {30.0, 60.0, 144.0}) {
                double dt = 1.0 / fps;
                for (double back : {0.8, 0.93, 1.07}) {
                double start = footAlong - sign * back;
                if (axis == 'x') placeBody(float(start), float(foot.floor + 0.76), float(foot.z));
                else placeBody(float(foot.x), float(foot.floor + 0.76), float(start));
                controls->horizontalAngle = heading(axis, sign);
                controls->verticalAngle = 0.0f;
                controls->fast = false;
                controls->speed = 5.0f;

                Climb climb;
                double rest = top.floor + 0.75;
                double limit = (length + 2.0) / speed * 1.4 + 0.5;
                bool passed = false;
                double afterTop = 0.0;
                while (climb.seconds < limit + 1.0) {
                    bool walking = !passed || sign * (along(axis) - topAlong) < 0.8;
                    keepBoosted(speed > 5.0);
                    frame(walking ? std::vector<int>{GLFW_KEY_W} : std::vector<int>{}, 0, 0, dt);
                    climb.seconds += dt;
                    if (!passed && sign * (along(axis) - topAlong) > 0.0) passed = true;
                    if (passed) {
                        climb.thrownAbove = std::max(climb.thrownAbove, double(bodyOrigin().y()) - rest);
                        afterTop += dt;
                        if (afterTop > 1.0) break;
                    }
                    if (!passed && climb.seconds > limit) break;
                }
                climb.reachedTop = passed && std::fabs(bodyOrigin().y() - rest) < 0.1;
                std::printf("%-14s speed %2.0f at %3.0f fps: %s in %.2f s, thrown %.2f above the top\n",
                            flightCase.foot, speed, fps, climb.reachedTop ? "up" : "BLOCKED", climb.seconds,
                            climb.thrownAbove);
                EXPECT_TRUE(climb.reachedTop) << flightCase.foot << " speed " << speed << " fps " << fps;
                EXPECT_LE(climb.thrownAbove, 0.5) << flightCase.foot << " speed " << speed << " fps " << fps;
                }
            }
    }
}

struct GapCase {
    const char* name;
    double sign;   // the direction the player's line crosses the gap along x
};

const GapCase kGaps[] = {{"hole A", 1.0}, {"hole B", 1.0}, {"hole 4", -1.0}};

const course::Hole& holeAt(double x)
{
    for (const auto& hole : course::course().holes)
        if (x >= hole.x0 - 1.0 && x <= hole.x1 + 1.0) return hole;
    ADD_FAILURE() << "no hole near x " << x;
    return course::course().holes.front();
}

TEST_F(CourseWalk, AWalkerFallsIntoEveryGapAndIsCaughtByTheHoleRule)
{
    for (const GapCase& gap : kGaps) {
        const course::Hole& hole = holeAt(pathPoint(gap.name).x);
        double edge = gap.sign > 0 ? hole.x0 : hole.x1;
        double z = (hole.z0 + hole.z1) / 2;
        placeBody(float(edge - gap.sign * 3.0), float(hole.deckTop + 0.76), float(z));
        controls->horizontalAngle = heading('x', gap.sign);
        controls->fast = false;
        controls->speed = 5.0f;
        bool caught = false;
        for (int i = 0; i < 240 && !caught; ++i) {
            frame({GLFW_KEY_W});
            glm::vec3 p = controls->position;
            caught = endConditionFor(p.x, p.y, p.z, 60.0, 50, false) == Outcome::FellIntoHole;
        }
        EXPECT_TRUE(caught) << gap.name << " let a walker across";
    }
}

TEST_F(CourseWalk, AJumpPressedBeforeTheEdgeClearsEveryGap)
{
    for (double fps : {30.0, 60.0}) {
        for (const GapCase& gap : kGaps) {
            const course::Hole& hole = holeAt(pathPoint(gap.name).x);
            double edge = gap.sign > 0 ? hole.x0 : hole.x1;
            double farEdge = gap.sign > 0 ? hole.x1 : hole.x0;
            double z = (hole.z0 + hole.z1) / 2;
            placeBody(float(edge - gap.sign * 4.0), float(hole.deckTop + 0.76), float(z));
            controls->horizontalAngle = heading('x', gap.sign);
            controls->fast = false;
            controls->speed = 5.0f;
            bool lost = false;
            int jumpFrames = 0;
            for (int i = 0; i < int(2.5 * fps); ++i) {
                double toEdge = gap.sign * (edge - bodyOrigin().x());
                bool jump = toEdge < 0.7 && jumpFrames < int(0.2 * fps);
                if (jump) ++jumpFrames;
                std::vector<int> keys = {GLFW_KEY_W};
                if (jump) keys.push_back(GLFW_KEY_SPACE);
                frame(keys, 0, 0, 1.0 / fps);
                glm::vec3 p = controls->position;
                lost = lost || endConditionFor(p.x, p.y, p.z, 60.0, 50, false) == Outcome::FellIntoHole;
            }
            EXPECT_FALSE(lost) << gap.name << " at " << fps << " fps";
            EXPECT_GT(gap.sign * (bodyOrigin().x() - farEdge), 1.0) << gap.name << " at " << fps << " fps";
            EXPECT_NEAR(bodyOrigin().y(), hole.deckTop + 0.75, 0.05) << gap.name << " at " << fps << " fps";
        }
    }
}

// The section whose walkable top lies under (x, z) nearest below the feet.
int ownSection(double x, double floor, double z)
{
    int best = -1;
    double bestTop = -1e9;
    for (const course::Box& box : course::course().boxes) {
        if (box.kind == course::BoxKind::Wall || box.kind == course::BoxKind::Foundation) continue;
        if (x < box.x0 || x > box.x1 || z < box.z0 || z > box.z1) continue;
        if (box.y1 > floor + 0.3 || box.y1 <= bestTop) continue;
        bestTop = box.y1;
        best = box.section;
    }
    return best;
}

TEST_F(CourseWalk, TheSectionUnderThePlayerStaysDrawn)
{
    Frustum frustum(60.0f, 0.1f, 100.0f);
    const auto& path = course::course().path;
    struct Count {
        int views = 0, culled = 0;
    } counts[4];   // forward, back, left, right
    const float turns[4] = {0.0f, 3.1415927f, 1.5707964f, -1.5707964f};
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const auto& a = path[i];
        const auto& b = path[i + 1];
        double length = std::hypot(b.x - a.x, b.z - a.z);
        if (length < 1e-6) continue;
        float travel = float(std::atan2(b.x - a.x, b.z - a.z));
        int steps = std::max(1, int(length / 1.5));
        for (int s = 0; s < steps; ++s) {
            double f = double(s) / steps;
            double x = a.x + (b.x - a.x) * f, z = a.z + (b.z - a.z) * f;
            double floor = a.floor + (b.floor - a.floor) * f;
            int own = ownSection(x, floor, z);
            if (own < 0) continue;
            glm::vec3 position(float(x), float(floor + 1.125), float(z));
            for (int t = 0; t < 4; ++t)
                for (float pitch : {0.0f, -0.3f, -0.6f}) {
                    float h = travel + turns[t];
                    glm::vec3 direction(std::cos(pitch) * std::sin(h), std::sin(pitch), std::cos(pitch) * std::cos(h));
                    glm::vec3 right(std::sin(h - 1.57f), 0.0f, std::cos(h - 1.57f));
                    glm::vec3 up = glm::normalize(glm::cross(right, direction));
                    frustum.updateFromCamera(position - direction * 2.0f, position, up);
                    ++counts[t].views;
                    if (!frustum.sectionInView(sections[own]->meshes)) ++counts[t].culled;
                }
        }
    }
    const char* names[4] = {"forward", "backward", "left", "right"};
    for (int t = 0; t < 4; ++t) {
        double share = double(counts[t].culled) / std::max(1, counts[t].views);
        std::printf("looking %-8s: own section culled in %d of %d views (%.1f%%)\n", names[t], counts[t].culled,
                    counts[t].views, share * 100.0);
        EXPECT_GT(counts[t].views, 500);
        if (t < 2) {
            EXPECT_LE(share, 0.02) << names[t];
        }
    }
}

} // namespace
} // namespace ruma::test

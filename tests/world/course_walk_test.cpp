// The generated course against the real controls and physics: every flight
// can be walked without being thrown, every gap catches a walker and lets a
// jumper across.
#include "app/game_rules.h"
#include "course_layout.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene/imported_object.h"
#include "world/start_answers.h"
#include "world/world.h"
#include "world/world_fixture.h"

#include <cmath>

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

    std::vector<scene::ImportedObject*> sections;
    Shader* sectionShader = nullptr;
    std::vector<Texture*> textures;
};

const std::pair<const char*, const char*> kFlights[] = {
    {"climb 1 foot", "climb 1 top"}, {"climb 2 foot", "climb 2 top"}, {"climb 3 foot", "climb 3 top"},
    {"final F1 foot", "final F1 top"}, {"final F2 foot", "goal z=56"},
};

// From just before each flight's foot, at a low and a high frame rate: the
// walker reaches the upper floor in time and is not thrown over it.
TEST_F(CourseWalk, EveryFlightIsWalkedWithoutBeingBlockedOrThrown)
{
    for (const auto& [footName, topName] : kFlights) {
        const course::PathPoint& foot = pathPoint(footName);
        const course::PathPoint& top = pathPoint(topName);
        char axis = std::fabs(top.x - foot.x) > std::fabs(top.z - foot.z) ? 'x' : 'z';
        double sign = (axis == 'x' ? top.x - foot.x : top.z - foot.z) > 0 ? 1.0 : -1.0;
        double footAlong = axis == 'x' ? foot.x : foot.z;
        double topAlong = axis == 'x' ? top.x : top.z;
        double limit = (std::fabs(topAlong - footAlong) + 2.0) / 5.0 * 1.4 + 0.5;
        double rest = top.floor + 0.75;
        for (double fps : {30.0, 144.0})
            for (double back : {0.8, 0.93, 1.07}) {
                double start = footAlong - sign * back;
                if (axis == 'x') placeBody(float(start), float(foot.floor + 0.76), float(foot.z));
                else placeBody(float(foot.x), float(foot.floor + 0.76), float(start));
                controls->horizontalAngle = heading(axis, sign);
                controls->verticalAngle = 0.0f;
                double seconds = 0.0, afterTop = -1.0, thrownAbove = 0.0;
                while (afterTop <= 1.0 && seconds < limit + 1.0 && (afterTop >= 0.0 || seconds <= limit)) {
                    bool walking = afterTop < 0.0 || sign * (along(axis) - topAlong) < 0.8;
                    frame(walking ? std::vector<int>{GLFW_KEY_W} : std::vector<int>{}, 0, 0, 1.0 / fps);
                    seconds += 1.0 / fps;
                    if (afterTop < 0.0 && sign * (along(axis) - topAlong) > 0.0) afterTop = 0.0;
                    if (afterTop >= 0.0) {
                        thrownAbove = std::max(thrownAbove, double(bodyOrigin().y()) - rest);
                        afterTop += 1.0 / fps;
                    }
                }
                bool up = afterTop >= 0.0 && std::fabs(bodyOrigin().y() - rest) < 0.1;
                EXPECT_TRUE(up) << footName << " at " << fps << " fps from " << back << " back, " << seconds << " s";
                EXPECT_LE(thrownAbove, 0.5) << footName << " at " << fps << " fps from " << back << " back";
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

// Walking on, a player falls into every gap and the hole rule catches him; a
// jump pressed just before the edge clears it, at a low and a high frame rate.
TEST_F(CourseWalk, AWalkerFallsIntoEveryGapAndAJumpBeforeTheEdgeClearsIt)
{
    for (double fps : {30.0, 60.0})
        for (bool jumping : {false, true})
            for (const GapCase& gap : kGaps) {
                const course::Hole& hole = holeAt(pathPoint(gap.name).x);
                double edge = gap.sign > 0 ? hole.x0 : hole.x1;
                double farEdge = gap.sign > 0 ? hole.x1 : hole.x0;
                placeBody(float(edge - gap.sign * 4.0), float(hole.deckTop + 0.76), float((hole.z0 + hole.z1) / 2));
                controls->horizontalAngle = heading('x', gap.sign);
                controls->fast = false;
                controls->speed = 5.0f;
                bool lost = false;
                int jumpFrames = 0;
                for (int i = 0; i < int(2.5 * fps); ++i) {
                    bool jump = jumping && gap.sign * (edge - bodyOrigin().x()) < 0.7 && jumpFrames < int(0.2 * fps);
                    jumpFrames += jump;
                    frame(jump ? std::vector<int>{GLFW_KEY_W, GLFW_KEY_SPACE} : std::vector<int>{GLFW_KEY_W}, 0, 0, 1.0 / fps);
                    glm::vec3 p = controls->position;
                    lost = lost || endConditionFor(p.x, p.y, p.z, 60.0, 50, false) == Outcome::FellIntoHole;
                }
                const std::string what = std::string(gap.name) + (jumping ? " jumped" : " walked") + " at " +
                                         std::to_string(int(fps)) + " fps";
                EXPECT_EQ(lost, !jumping) << what;
                if (jumping) {
                    EXPECT_GT(gap.sign * (bodyOrigin().x() - farEdge), 1.0) << what;
                    EXPECT_NEAR(bodyOrigin().y(), hole.deckTop + 0.75, 0.05) << what;
                }
            }
}

} // namespace
} // namespace ruma::test

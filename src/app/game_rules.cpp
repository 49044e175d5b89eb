#include "app/game_rules.h"

#include "app/startup.h"
#include "places/end_zones.h"
#include "platform/platform.h"
#include "scene/cat.h"
#include "scene/slime.h"
#include "sound/sound_player.h"
#include "world/controls.h"
#include "world/game_clock.h"
#include "world/start_answers.h"
#include "world/world.h"

#include <cmath>
#include <cstdlib>

namespace ruma {

int catDistance = 0;

namespace {
RunPhase phase;   // written by openRun and changePhase alone
} // namespace

Outcome endConditionFor(float x, float y, float z, double t, int distance, bool god)
{
    if (!god) {
        if (y <= -3.0f) return Outcome::FellIntoHole;
        for (const EndZone& hole : kHoleZones)
            if (hole.contains(x, y, z)) return Outcome::FellIntoHole;
        if (t > kCatchGraceSeconds && distance < 3) return Outcome::CaughtByCat;
    }
    if (kGoalZone.contains(x, y, z)) return Outcome::Won;
    return Outcome::None;
}

void checkEndConditions(float x, float y, float z, double gameTime)
{
    Outcome outcome = endConditionFor(x, y, z, gameTime, catDistance, godMode);
    if (outcome != Outcome::None) changePhase(Phase::Ended, outcome);
}

int truncatedDistance(const glm::vec3& a, const glm::vec3& b)
{
    float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    float squares = dx * dx + dy * dy + dz * dz;
    return static_cast<int>(static_cast<float>(std::sqrt(static_cast<double>(squares))));
}

double currentGameTime() { return gameClock->gameTime(platform().time()); }

const RunPhase& runPhase() { return phase; }

void openRun()
{
    phase = RunPhase{};
    sound->startMusic();
}

void changePhase(Phase to, Outcome outcome)
{
    if (to == Phase::Play) {
        // This frame's HUD is drawn before its update: it shows the real distance, not 0.
        catDistance = truncatedDistance(cat->position, controls->position);
        sound->resume();
        gameClock->start(platform().time());
        // Wherever the cursor wandered during the pause is not a turn of the camera.
        controls->recentreCursor();
    } else if (to == Phase::Controls) {
        sound->pause();
        gameClock->stop(platform().time());
    }
    // An end is final: F1 in the very frame the run ended still silences the
    // music and stops the clock, but the end picture stays.
    if (phase.phase == Phase::Ended) return;
    phase = RunPhase{to, outcome};
}

void quitGame() { running = false; }

void startCatOnFirstMove()
{
    if (controls->hasStartedMoving() && !cat->started) cat->start(currentGameTime());
}

void updateChaseAndPickups()
{
    double gameTime = currentGameTime();
    glm::vec3 catPosition = cat->followRoute(gameTime);
    catDistance = truncatedDistance(catPosition, controls->position);
    cat->adjustSize(static_cast<float>(catDistance));

    checkEndConditions(controls->position.x, controls->position.y, controls->position.z, gameTime);

    sound->adaptMusic(catDistance);

    // The cat calls now and then while it is far behind; the intervals come
    // from the unseeded generator, so every run hears the same rhythm.
    if (catDistance > 8 && gameTime >= sound->nextCatSoundTime && !sound->isCatPlaying()) {
        sound->playCat();
        sound->nextCatSoundTime += 7 + (std::rand() % 19);
    }

    for (scene::Slime* slime : slimeList) {
        glm::vec3 touch = slime->getTouchPoint();
        glm::vec3 d = touch - controls->position;
        if (std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z) < 1.0f) {
            slime->take();
            controls->startBoost();
        }
    }
}

} // namespace ruma

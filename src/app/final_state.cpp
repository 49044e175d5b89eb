#include "app/final_state.h"

#include "app/game_rules.h"
#include "platform/math_conventions.h"
#include "scene/cat.h"
#include "scene/tovik.h"
#include "world/world.h"

#include <cstdio>

namespace ruma {

namespace {

std::string hexFloat(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

std::string hexPosition(const glm::vec3& p) { return hexFloat(p.x) + ' ' + hexFloat(p.y) + ' ' + hexFloat(p.z); }

const char* endName(Outcome outcome)
{
    static const char* const names[] = {"none", "hole", "caught", "won"};   // in Outcome's order
    return names[static_cast<int>(outcome)];
}

} // namespace

std::string finalStateLine(long frames)
{
    return "final state: frames " + std::to_string(frames) + ", game time " + hexFloat(currentGameTime()) +
           ", player " + hexPosition(translationOf(player->model)) + ", cat " +
           hexPosition(translationOf(cat->model)) + ", end " + endName(runPhase().outcome);
}

} // namespace ruma

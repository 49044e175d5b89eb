#include "app/final_state.h"

#include "app/game_rules.h"
#include "platform/math_conventions.h"
#include "render/picture_screen.h"
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

const char* endName()
{
    if (!endScreen->showing) return "none";
    if (endScreen->won) return "won";
    return endScreen->caughtByCat ? "caught" : "hole";
}

} // namespace

std::string finalStateLine(long frames)
{
    return "final state: frames " + std::to_string(frames) + ", game time " + hexFloat(currentGameTime()) +
           ", player " + hexPosition(translationOf(player->model)) + ", cat " +
           hexPosition(translationOf(cat->model)) + ", end " + endName();
}

} // namespace ruma

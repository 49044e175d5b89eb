// The line the game prints as it exits: how many frames ran, the play time,
// where the player and the cat stand, with every float in hexadecimal so two
// runs can be compared to the last bit (a replay of a journal must match its
// live run), and how the run ended.
#pragma once

#include <string>

namespace ruma {

// "final state: frames N, game time T, player X Y Z, cat X Y Z, end E" with
// E one of none, won, caught, hole.
std::string finalStateLine(long frames);

} // namespace ruma

#include "world/start_answers.h"

namespace ruma {

bool highResTextures = false;
bool godMode = false;

} // namespace ruma

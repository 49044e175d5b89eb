// Pictures of the generated course from the player's eye along his line,
// drawn the way the game draws the sections (unlit, the section's texture at
// the mesh's coordinates, 60 degrees, 16:9, culled by the game's one-third
// rule), for looking at the course without the game.
#pragma once

#include <string>

namespace ruma::course {

// Reads the section files below `root` and writes preview_NN_*.png into
// `outDir`. Needs a display. Returns the process exit status.
int runPreview(const std::string& root, const std::string& outDir, bool lowVariant);

} // namespace ruma::course

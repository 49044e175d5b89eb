// Where the game's Resources/ folder is, whichever folder the player starts
// the game from.
#pragma once

#include <string>

namespace ruma {

// The installed data folder this build was configured for.
const char* installedDataFolder();

// The folder whose Resources/ the game would read if started now, by the
// rules of enterGameDataFolder; empty when there is none.
std::string gameDataFolder();

// Leaves the working directory alone when it has Resources/manifest.txt; else
// changes into the first folder that does: $TOVIK3D_DATA, the program's folder,
// ../share/tovik3d beside it, the installed data folder. When none has it,
// names every place it looked in and ends the game through fatalError.
void enterGameDataFolder();

} // namespace ruma

// Before loading, the files this run will read are compared with
// Resources/manifest.txt; each damaged or missing one gets a warning line and
// the game goes on as it would have (modders may empty the manifest: no check).
#pragma once

#include <ostream>

namespace ruma {

// Prints one line per damaged or missing file to out; returns the seconds the check took.
double warnAboutDamagedResources(std::ostream& out);

} // namespace ruma

// Runs the real game binary under a script or an autopilot route, as a player
// would run it (answers on standard input), and collects what it showed.
#pragma once

#include "support/process.h"

#include <map>
#include <set>
#include <string>

namespace ruma::test {

struct GameRun {
    ProcessResult process;
    std::string dir;   // where the run's pictures were saved
};

struct GameRunOptions {
    std::string answers = "n n n\n";
    std::vector<std::string> arguments;   // options before the script's
    double timeoutSeconds = 600;
    std::map<std::string, std::string> env;
    std::vector<std::string> unsetEnv;
    std::string workingDirectory = sourceDir();   // where Resources/ is found
    std::string binary = gameBinary();
};

// text is an input script (kind "--script") or a route (kind "--autopilot");
// "@DIR@" in it is replaced by a scratch folder kept by the caller.
GameRun runGameWith(const std::string& kind, const std::string& text, const ScratchDir& dir,
                    const GameRunOptions& options = {});

// With TOVIK3D_WRITE_DOCS=1 in the environment, copies a run's picture at
// half size into docs/NAME for the README; otherwise does nothing.
void keepForDocs(const std::string& shot, const std::string& name);

// Makes dir/Resources a copy of the game's resource folder built of links, so a
// test can put a file of its own in the place of any (those named in own,
// relative to Resources/, are left for the caller to write). Returns its path.
std::string linkedResources(const ScratchDir& dir, const std::set<std::string>& own);

// The line the game prints as it exits, "final state: ...", or empty.
std::string finalStateLine(const std::string& out);

// A route file of the repository (tests/app/routes/NAME), with its text.
std::string routeText(const std::string& name);

} // namespace ruma::test

// Finding a program's data folder when it is not started from inside it: a
// list of candidate folders, the first that holds the data wins.
#pragma once

#include <string>
#include <vector>

namespace ruma {

struct DataFolderPlaces {
    std::string fromEnvironment;   // an environment variable's value; empty when unset
    std::string executableFolder;  // where the running program lies
    std::string installedFolder;   // the data folder chosen when the program was built
};

// The folders to try, in order: the environment's, the program's own folder,
// ../share/NAME beside the program, then the installed one. Empty places are
// left out and each folder is named once.
std::vector<std::string> dataFolderCandidates(const DataFolderPlaces& places, const std::string& name);

// The first candidate that holds the file `marker` (a path below it), or empty.
std::string findDataFolder(const std::vector<std::string>& candidates, const std::string& marker);

// The folder of the running executable (from /proc/self/exe), or empty.
std::string executableFolder();

} // namespace ruma

#include "app/game_data.h"

#include "platform/data_folder.h"
#include "platform/fatal.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ruma {

const char* installedDataFolder() { return TOVIK3D_INSTALLED_DATA; }

namespace {

// Only the game's own Resources/ holds its manifest; a stray folder of that name is passed over.
constexpr const char* kDataMarker = "Resources/manifest.txt";

DataFolderPlaces dataFolderPlaces()
{
    DataFolderPlaces places;
    if (const char* env = std::getenv("TOVIK3D_DATA")) places.fromEnvironment = env;
    places.executableFolder = executableFolder();
    places.installedFolder = installedDataFolder();
    return places;
}

} // namespace

std::string gameDataFolder()
{
    std::error_code error;
    if (std::filesystem::is_regular_file(kDataMarker, error)) return std::filesystem::current_path(error).string();
    std::string found = findDataFolder(dataFolderCandidates(dataFolderPlaces(), "tovik3d"), kDataMarker);
    // "/usr/games/../share/tovik3d" is named as the folder it is.
    return found.empty() ? found : std::filesystem::weakly_canonical(found, error).string();
}

void enterGameDataFolder()
{
    std::error_code error;
    std::string found = gameDataFolder();
    if (!found.empty()) {
        std::filesystem::current_path(found, error);
        if (!error) return;
    }

    DataFolderPlaces places = dataFolderPlaces();
    std::string looked = std::filesystem::current_path(error).string() + " (the working directory)";
    for (const std::string& folder : dataFolderCandidates(places, "tovik3d")) looked += ", " + folder;
    if (places.fromEnvironment.empty()) looked += "; TOVIK3D_DATA is not set";
    fatalError("Cannot find the game's Resources/ folder; looked in " + looked);
}

} // namespace ruma

// Finding the data folder: the order of the places and the first that holds the data.
#include "platform/data_folder.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ruma {
namespace {

TEST(DataFolder, TheFirstPlaceHoldingTheMarkerWinsInOrder)
{
    test::ScratchDir dir("data-folder");
    for (const char* folder : {"env", "opt/bin/Resources", "opt/share/game/Resources", "installed/Resources"})
        std::filesystem::create_directories(dir.file(folder));
    DataFolderPlaces places{dir.file("env"), dir.file("opt/bin"), dir.file("installed/")};
    std::vector<std::string> candidates = dataFolderCandidates(places, "game");
    EXPECT_EQ(candidates, (std::vector<std::string>{dir.file("env"), dir.file("opt/bin"), dir.file("opt/share/game"),
                                                     dir.file("installed")}));
    // The environment's folder has no Resources/, so the program's own folder wins.
    EXPECT_EQ(findDataFolder(candidates, "Resources"), dir.file("opt/bin"));
    EXPECT_EQ(findDataFolder(candidates, "Music"), "");

    // Unset places are skipped and a folder named twice is tried once.
    EXPECT_EQ(dataFolderCandidates({"", "/usr/bin", "/usr/share/game"}, "game"),
              (std::vector<std::string>{"/usr/bin", "/usr/share/game"}));
}

} // namespace
} // namespace ruma

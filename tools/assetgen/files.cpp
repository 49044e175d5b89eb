#include "assets.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace assetgen {

const std::vector<std::string>& generatedFiles()
{
    static const std::vector<std::string> files = {
        "Fonts/segeo.png",         "Fonts/segeodarkclose.png", "Fonts/segeodarknormal.png",
        "Fonts/segeodarkfar.png",  "Images/uiCLOSE.png",       "Images/uiNORMAL.png",
        "Images/uiFAR.png",        "Images/controls.jpg",      "Images/gameovercat.jpg",
        "Images/gameoverloch.jpg", "Images/win.jpg",           "Models/tovk.obj",
        "Textures/tovkTex.png",    "Textures/tovkTexG.png",    "Models/cat.obj",
        "Textures/cat.tga",        "Models/slime.obj",         "Textures/slime.png",
        "Models/skateboard.dae",   "Textures/skateboard2.png", "Sounds/background.wav",
        "Sounds/menu.wav",         "Sounds/jump.wav",          "Sounds/button.wav",
        "Sounds/fast.wav",         "Sounds/win.mp3",           "Sounds/lose.mp3",
        "Sounds/cat.wav",          "Textures/cat.avi",         "Images/icon.png",
    };
    return files;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

} // namespace assetgen

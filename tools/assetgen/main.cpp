// assetgen <Resources folder> [<icons folder>]: writes every model, texture,
// picture, font, sound and the video of the game (the course and the shaders
// come from elsewhere), and the desktop icons when given their folder. The
// output is the same, byte for byte, on every run.
#include "assets.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: assetgen <output Resources folder> [<output icons folder>]\n");
        return 2;
    }
    std::string root = argv[1];
    try {
        for (const char* folder : {"Models", "Textures", "Images", "Fonts", "Sounds"})
            std::filesystem::create_directories(root + "/" + folder);
        assetgen::writeFonts(root);
        assetgen::writeOverlays(root);
        assetgen::writePictures(root);
        assetgen::writeCharacters(root);
        assetgen::writeSkateboard(root);
        assetgen::writeSounds(root);
        assetgen::writeVideo(root);
        assetgen::writeWindowIcon(root);
        if (argc == 3) {
            std::filesystem::create_directories(argv[2]);
            assetgen::writeIcons(argv[2]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
    for (const std::string& file : assetgen::generatedFiles()) std::printf("%s/%s\n", root.c_str(), file.c_str());
    return 0;
}

// resourcemanifest <Resources folder>: lists every file of the folder with its
// size and SHA-256 in manifest.txt, which the game checks at start. Run it
// after assetgen, coursegen or any change to a shader.
#include "platform/file_manifest.h"

#include <cstdio>
#include <exception>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: resourcemanifest <Resources folder>\n");
        return 2;
    }
    std::string root = argv[1];
    try {
        std::string text = ruma::manifestOf(root, "manifest.txt");
        std::ofstream out(root + "/manifest.txt", std::ios::binary);
        out << text;
        if (!out.flush()) {
            std::fprintf(stderr, "resourcemanifest: cannot write %s/manifest.txt\n", root.c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "resourcemanifest: %s\n", error.what());
        return 1;
    }
    std::printf("%s/manifest.txt\n", root.c_str());
    return 0;
}

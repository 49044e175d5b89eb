// The writers of the asset generator: each paints, models or synthesises one
// family of the game's resource files into a Resources folder.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Every file the generator writes, relative to the Resources folder.
const std::vector<std::string>& generatedFiles();

void writeFonts(const std::string& root);        // Fonts/segeo*.png
void writeOverlays(const std::string& root);     // Images/ui*.png
void writePictures(const std::string& root);     // Images/*.jpg
void writeCharacters(const std::string& root);   // Tovik, the cat and the slime
void writeSkateboard(const std::string& root);   // Models/skateboard.dae + its texture
void writeSounds(const std::string& root);       // Sounds/*
void writeVideo(const std::string& root);        // Textures/cat.avi

// The desktop icons, tovik3d-SIZE.png for each size; they are not game data
// and go to a folder of their own (packaging/icons).
const std::vector<int>& iconSizes();
void writeIcons(const std::string& folder);
// The same picture as game data (Images/icon.png), set as the window's icon.
void writeWindowIcon(const std::string& root);

// Writes bytes to a file, creating its folder; throws on failure.
void writeFile(const std::string& path, const std::string& bytes);

} // namespace assetgen

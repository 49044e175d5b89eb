// Writes canvases as the image files the game loads with FreeImage, and reads
// each file back the way the game does to prove it loads the right way up.
#pragma once

#include "canvas.h"

#include <string>

namespace assetgen {

void savePng(const Canvas& canvas, const std::string& path, bool withAlpha);
void saveJpeg(const Canvas& canvas, const std::string& path, int quality = 90);
void saveTga(const Canvas& canvas, const std::string& path);

} // namespace assetgen

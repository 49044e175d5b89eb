// Saves what has been drawn into the back buffer of the window as an image
// (PNG or whatever the file name's extension says).
#pragma once

#include <string>
#include <vector>

namespace ruma {

// Reads width x height pixels of the bound read buffer (bottom row first, RGB).
std::vector<unsigned char> readPixelsRGB(int width, int height);
bool saveScreenshot(const std::string& path, int width, int height);
// Writes RGB rows (bottom row first) to an image file.
bool saveRGBImage(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height);

} // namespace ruma

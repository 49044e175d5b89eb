// F12: the window's picture, saved where the player keeps pictures.
#pragma once

#include <ctime>
#include <string>

namespace ruma {

// The pictures folder's tovik3d/ folder, else the working directory.
std::string screenshotFolder();
// tovik3d-YYYYmmdd-HHMMSS.png in folder for the local time when, with -2, -3 ...
// added when a picture of that second is already there.
std::string freeScreenshotPath(const std::string& folder, std::time_t when);
// Once per F12 press: saves the picture drawn so far into the back buffer,
// prints its path and clicks; a folder that cannot be written gets one line.
void handleScreenshotKey(int width, int height);

} // namespace ruma

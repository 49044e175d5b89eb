// Writes small Motion JPEG AVI files for the video tests.
#pragma once

#include "render_fixtures.h"

#include <functional>
#include <string>

namespace ruma::test {

// frameCount frames of width x height at framesPerSecond; pixel(frame, x, y)
// gives the colour with y counted from the top row. False on any failure.
bool writeAvi(const std::string& path, int width, int height, int frameCount, int framesPerSecond,
              const std::function<Rgb(int, int, int)>& pixel);

} // namespace ruma::test

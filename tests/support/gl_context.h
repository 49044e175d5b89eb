// A hidden window with an OpenGL 3.3 core context for tests that draw.
// Tests that need it start with TOVIK3D_REQUIRE_GL(); without a display they
// are skipped, so ctest outside Xvfb still runs every logic test.
#pragma once

#include <gtest/gtest.h>

namespace ruma::test {

// Makes the shared test context current; false when there is no display.
// The window is 1280 x 720 and stays hidden.
bool ensureGlContext();

// Drains pending GL errors and returns how many there were.
int drainGlErrors();

} // namespace ruma::test

#define TOVIK3D_REQUIRE_GL()                                                  \
    do {                                                                      \
        if (!::ruma::test::ensureGlContext()) GTEST_SKIP() << "no display";   \
    } while (0)

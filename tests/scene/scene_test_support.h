// Helpers for the scene-object tests: quiet loading and matrix comparison.
// Objects made in an empty InScratchDirectory find no model: they load
// without meshes and need no GL context.
#pragma once

#include "support/process.h"

#include <glm/mat4x4.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace ruma::test {

// Runs make() with the console lines of model loading captured and dropped,
// and returns its result.
template <typename Make>
auto quietly(Make make)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    auto result = make();
    ::testing::internal::GetCapturedStderr();
    ::testing::internal::GetCapturedStdout();
    return result;
}

inline ::testing::AssertionResult matricesNear(const glm::mat4& actual, const glm::mat4& expected,
                                               float tolerance)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!(std::abs(actual[c][r] - expected[c][r]) <= tolerance))
                return ::testing::AssertionFailure()
                       << "element [" << c << "][" << r << "] is " << actual[c][r] << ", expected "
                       << expected[c][r];
    return ::testing::AssertionSuccess();
}

} // namespace ruma::test

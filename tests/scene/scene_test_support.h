// Helpers for the scene-object tests: quiet loading, a small program with the
// three vertex attributes, and matrix and box comparison. Objects made in an
// empty InScratchDirectory find no model: they load without meshes and need
// no GL context.
#pragma once

#include "render/mesh_record.h"
#include "render/shader.h"
#include "support/process.h"

#include <glm/mat4x4.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

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

// Draws positions as clip coordinates in white; uses "normal" and "uv" so
// neither is optimised away. Needs the GL context.
inline Shader* makeTestShader(const ScratchDir& dir)
{
    dir.write("test.vert",
              "#version 330 core\n"
              "in vec3 position; in vec3 normal; in vec2 uv;\n"
              "out vec3 vNormal; out vec2 vUv;\n"
              "void main() { vNormal = normal; vUv = uv; gl_Position = vec4(position, 1.0); }\n");
    dir.write("test.frag",
              "#version 330 core\n"
              "in vec3 vNormal; in vec2 vUv; out vec4 fragColor;\n"
              "void main() { fragColor = vec4(1.0) + vec4(abs(vNormal), 0.0) + vec4(vUv, 0.0, 0.0); }\n");
    return new Shader(dir.file("test.vert"), dir.file("test.frag"));
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

// The record's box, as minX, maxX, minY, maxY, minZ, maxZ.
inline ::testing::AssertionResult boxIs(const MeshRecord& record, std::array<float, 6> expected,
                                        float tolerance = 1e-5f)
{
    const float actual[6] = {record.minX, record.maxX, record.minY, record.maxY, record.minZ, record.maxZ};
    const char* names[6] = {"minX", "maxX", "minY", "maxY", "minZ", "maxZ"};
    for (int i = 0; i < 6; ++i)
        if (!(std::abs(actual[i] - expected[i]) <= tolerance))
            return ::testing::AssertionFailure()
                   << names[i] << " is " << actual[i] << ", expected " << expected[i];
    return ::testing::AssertionSuccess();
}

} // namespace ruma::test

// A linked GL program made from a vertex and a fragment shader file. Every
// drawable owns its own (so each keeps its own uniform values). Any failure
// ends the game with a message. There is no destructor: the owner releases it
// with deleteShader().
#pragma once

#include "render/gl.h"

#include <string>

namespace ruma {

struct Shader {
    GLuint program = 0;
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;

    Shader(const std::string& vertexPath, const std::string& fragmentPath);
    // The same, with `defines` ("#define NAME VALUE" lines) placed after the
    // first line (the #version line) of both sources.
    Shader(const std::string& vertexPath, const std::string& fragmentPath, const std::string& defines);

    // A program from source texts rather than files, for a tool's own shading.
    static Shader* fromSources(const std::string& vertexSource, const std::string& fragmentSource);

private:
    Shader() = default;
};

// A shader file is read once: later programs built from it reuse its text
// until this forgets them all (when the game has loaded).
void forgetShaderSources();

// Deletes the program, then both shaders, then the object; null is ignored.
void deleteShader(Shader*& shader);

// Reads a whole text file, dropping the CR of every CR LF; false when it
// cannot be opened.
bool readTextFile(const std::string& path, std::string& text);

} // namespace ruma

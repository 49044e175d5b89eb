#include "render/gl_error.h"

#include "render/gl.h"

#include <iostream>

namespace ruma {

const char* glErrorName(unsigned int error)
{
    switch (error) {
    case GL_INVALID_ENUM: return "INVALID_ENUM";
    case GL_INVALID_VALUE: return "INVALID_VALUE";
    case GL_INVALID_OPERATION: return "INVALID_OPERATION";
    case GL_OUT_OF_MEMORY: return "OUT_OF_MEMORY";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "INVALID_FRAMEBUFFER_OPERATION";
    default: return "";
    }
}

void checkGlError(int line, std::ostream& out, unsigned int (*readError)())
{
    // Without a context glGetError reports nothing; a lost context would report
    // forever, so stop after a generous number of errors.
    for (int guard = 0; guard < 1000; ++guard) {
        unsigned int error = readError();
        if (error == GL_NO_ERROR) break;
        out << "GL_" << glErrorName(error) << " - main:" << line << std::endl;
    }
}

namespace {
unsigned int readGlError() { return glGetError(); }
} // namespace

void checkGlError(int line) { checkGlError(line, std::cout, readGlError); }

} // namespace ruma

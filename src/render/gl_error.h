// Prints every pending GL error as "GL_<NAME> - main:<line>". Never fatal.
#pragma once

#include <ostream>

namespace ruma {

// line identifies the caller (a fixed number per call site).
void checkGlError(int line);
// The same, writing to out and reading errors from readError (for tests).
void checkGlError(int line, std::ostream& out, unsigned int (*readError)());
// The printed name of a GL error code: "INVALID_ENUM" ... or "" for others.
const char* glErrorName(unsigned int error);

} // namespace ruma

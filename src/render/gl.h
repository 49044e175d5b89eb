// OpenGL through GLEW; include this instead of any other GL header.
#pragma once

#include <GL/glew.h>

// tovik3d_probe: loads one resource the way the game does, in a fresh process.
//   tovik3d_probe shader VERTEX FRAGMENT   prints "linked" when the program links
//   tovik3d_probe texture PATH             prints "loaded WxH" when the texture loads
// Failures take the game's own fatal path (message, wait for a line, exit -1).
#include "render/shader.h"
#include "render/texture.h"
#include "support/gl_context.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: tovik3d_probe shader V F | texture PATH\n";
        return 2;
    }
    if (!ruma::test::ensureGlContext()) {
        std::cerr << "no display\n";
        return 3;
    }
    std::string what = argv[1];
    if (what == "shader" && argc == 4) {
        auto* shader = new ruma::Shader(argv[2], argv[3]);
        std::cout << "linked" << std::endl;
        ruma::deleteShader(shader);
        return 0;
    }
    if (what == "texture") {
        auto* texture = new ruma::Texture(argv[2]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        std::cout << "loaded " << w << "x" << h << std::endl;
        ruma::deleteTexture(texture);
        return 0;
    }
    std::cerr << "unknown probe " << what << "\n";
    return 2;
}

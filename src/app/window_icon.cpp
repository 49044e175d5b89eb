#include "app/window_icon.h"

#include <FreeImage.h>

#include <vector>

namespace ruma {

void setWindowIcon(GLFWwindow* window)
{
    FREE_IMAGE_FORMAT type = FreeImage_GetFileType(kWindowIconFile, 0);
    FIBITMAP* loaded = type == FIF_UNKNOWN ? nullptr : FreeImage_Load(type, kWindowIconFile, 0);
    FIBITMAP* image = loaded ? FreeImage_ConvertTo32Bits(loaded) : nullptr;
    if (loaded) FreeImage_Unload(loaded);
    if (!image) return;
    const int width = static_cast<int>(FreeImage_GetWidth(image));
    const int height = static_cast<int>(FreeImage_GetHeight(image));
    // GLFW wants rows from the top in R G B A order; FreeImage keeps them from
    // the bottom, in the machine's BGRA.
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(image, height - 1 - y);
        for (int x = 0; x < width; ++x) {
            unsigned char* out = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            out[0] = row[x * 4 + FI_RGBA_RED];
            out[1] = row[x * 4 + FI_RGBA_GREEN];
            out[2] = row[x * 4 + FI_RGBA_BLUE];
            out[3] = row[x * 4 + FI_RGBA_ALPHA];
        }
    }
    FreeImage_Unload(image);
    GLFWimage icon{width, height, pixels.data()};
    glfwSetWindowIcon(window, 1, &icon);
}

} // namespace ruma

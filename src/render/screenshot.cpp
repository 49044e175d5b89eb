#include "render/screenshot.h"

#include "render/gl.h"

#include <FreeImage.h>

namespace ruma {

std::vector<unsigned char> readPixelsRGB(int width, int height)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    return rgb;
}

bool saveRGBImage(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height)
{
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    if (!bitmap) return false;
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        const unsigned char* source = &rgb[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            row[x * 3 + FI_RGBA_RED] = source[x * 3 + 0];
            row[x * 3 + FI_RGBA_GREEN] = source[x * 3 + 1];
            row[x * 3 + FI_RGBA_BLUE] = source[x * 3 + 2];
        }
    }
    FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN) format = FIF_PNG;
    bool saved = FreeImage_Save(format, bitmap, path.c_str(), 0) != 0;
    FreeImage_Unload(bitmap);
    return saved;
}

bool saveScreenshot(const std::string& path, int width, int height)
{
    return saveRGBImage(path, readPixelsRGB(width, height), width, height);
}

} // namespace ruma

#include "support/image.h"

#include <FreeImage.h>

#include <cstdlib>
#include <filesystem>

namespace ruma::test {

Image loadImage(const std::string& path)
{
    Image image;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) return image;
    FIBITMAP* loaded = FreeImage_Load(format, path.c_str(), 0);
    if (!loaded) return image;
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(loaded);
    FreeImage_Unload(loaded);
    if (!rgb) return image;
    image.width = static_cast<int>(FreeImage_GetWidth(rgb));
    image.height = static_cast<int>(FreeImage_GetHeight(rgb));
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(rgb, image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            unsigned char* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            p[0] = row[x * 3 + FI_RGBA_RED];
            p[1] = row[x * 3 + FI_RGBA_GREEN];
            p[2] = row[x * 3 + FI_RGBA_BLUE];
        }
    }
    FreeImage_Unload(rgb);
    return image;
}

double fractionDifferent(const Image& a, const Image& b, int tolerance)
{
    if (a.width != b.width || a.height != b.height || a.empty()) return 1.0;
    size_t differing = 0, pixels = static_cast<size_t>(a.width) * a.height;
    for (size_t i = 0; i < pixels; ++i)
        for (int c = 0; c < 3; ++c)
            if (std::abs(int(a.rgb[i * 3 + c]) - int(b.rgb[i * 3 + c])) > tolerance) {
                ++differing;
                break;
            }
    return static_cast<double>(differing) / static_cast<double>(pixels);
}

bool writeImage(const std::string& path, int width, int height, const std::function<Rgba(int, int)>& pixel,
                int bpp, int format)
{
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, bpp);
    const int step = bpp / 8;
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);   // FreeImage's rows go up too
        for (int x = 0; x < width; ++x) {
            const Rgba p = pixel(x, y);
            row[x * step + FI_RGBA_RED] = static_cast<BYTE>(p.r);
            row[x * step + FI_RGBA_GREEN] = static_cast<BYTE>(p.g);
            row[x * step + FI_RGBA_BLUE] = static_cast<BYTE>(p.b);
            if (step == 4) row[x * step + FI_RGBA_ALPHA] = static_cast<BYTE>(p.a);
        }
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FREE_IMAGE_FORMAT type = format >= 0 ? FREE_IMAGE_FORMAT(format) : FreeImage_GetFIFFromFilename(path.c_str());
    const bool saved = FreeImage_Save(type, bitmap, path.c_str(), 0) != 0;
    FreeImage_Unload(bitmap);
    return saved;
}

} // namespace ruma::test

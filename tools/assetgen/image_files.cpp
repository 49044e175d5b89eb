#include "image_files.h"

#include "assets.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace assetgen {

namespace {

int toByte(float v)
{
    return static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

// FreeImage keeps the bottom row first: canvas row y is scan line height-1-y.
FIBITMAP* toBitmap(const Canvas& canvas, bool withAlpha)
{
    static bool started = false;
    if (!started) {
        FreeImage_Initialise(FALSE);
        started = true;
    }
    int bpp = withAlpha ? 32 : 24;
    FIBITMAP* bitmap = FreeImage_Allocate(canvas.width(), canvas.height(), bpp);
    if (!bitmap) throw std::runtime_error("FreeImage could not allocate a bitmap");
    for (int y = 0; y < canvas.height(); ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, canvas.height() - 1 - y);
        for (int x = 0; x < canvas.width(); ++x) {
            Color c = canvas.pixel(x, y);
            BYTE* p = row + x * (bpp / 8);
            if (!withAlpha) c = {c.r * c.a, c.g * c.a, c.b * c.a, 1.0f};   // over black
            p[FI_RGBA_RED] = static_cast<BYTE>(toByte(c.r));
            p[FI_RGBA_GREEN] = static_cast<BYTE>(toByte(c.g));
            p[FI_RGBA_BLUE] = static_cast<BYTE>(toByte(c.b));
            if (withAlpha) p[FI_RGBA_ALPHA] = static_cast<BYTE>(toByte(c.a));
        }
    }
    return bitmap;
}

// Loads the file as the game does (type from the contents) and compares it with
// what was meant; maxMeanError 0 asks for an exact copy.
void verify(const std::string& path, FIBITMAP* expected, double maxMeanError)
{
    FREE_IMAGE_FORMAT type = FreeImage_GetFileType(path.c_str(), 0);
    FIBITMAP* loaded = type == FIF_UNKNOWN ? nullptr : FreeImage_Load(type, path.c_str(), 0);
    if (!loaded) throw std::runtime_error("written image does not load: " + path);
    unsigned bpp = FreeImage_GetBPP(expected);
    bool sameShape = FreeImage_GetBPP(loaded) == bpp && FreeImage_GetWidth(loaded) == FreeImage_GetWidth(expected) &&
                     FreeImage_GetHeight(loaded) == FreeImage_GetHeight(expected);
    double error = 0;
    unsigned width = FreeImage_GetWidth(expected), height = FreeImage_GetHeight(expected);
    for (unsigned y = 0; sameShape && y < height; ++y) {
        const BYTE* a = FreeImage_GetScanLine(expected, y);
        const BYTE* b = FreeImage_GetScanLine(loaded, y);
        for (unsigned i = 0; i < width * bpp / 8; ++i) error += std::abs(int(a[i]) - int(b[i]));
    }
    FreeImage_Unload(loaded);
    error /= double(width) * height * (bpp / 8);
    if (!sameShape || error > maxMeanError)
        throw std::runtime_error("written image reads back differently: " + path);
}

void save(const Canvas& canvas, const std::string& path, FREE_IMAGE_FORMAT format, bool withAlpha, int flags,
          double maxMeanError)
{
    FIBITMAP* bitmap = toBitmap(canvas, withAlpha);
    bool saved = FreeImage_Save(format, bitmap, path.c_str(), flags) != 0;
    if (saved) verify(path, bitmap, maxMeanError);
    FreeImage_Unload(bitmap);
    if (!saved) throw std::runtime_error("FreeImage could not write " + path);
}

} // namespace

void savePng(const Canvas& canvas, const std::string& path, bool withAlpha)
{
    save(canvas, path, FIF_PNG, withAlpha, PNG_Z_BEST_COMPRESSION, 0.0);
}

void saveJpeg(const Canvas& canvas, const std::string& path, int quality)
{
    // JPEG only from 24-bit pixels: FreeImage writes nothing from 32 bits.
    save(canvas, path, FIF_JPEG, false, quality | JPEG_OPTIMIZE | JPEG_SUBSAMPLING_444, 4.0);
}

// Written by hand: FreeImage only writes bottom-up TGAs, which some viewers show
// upside down. This one says "top-left origin" and stores the top row first;
// FreeImage honours the flag, so the game still gets the bottom row first.
void saveTga(const Canvas& canvas, const std::string& path)
{
    int width = canvas.width(), height = canvas.height();
    std::string bytes(18, '\0');
    bytes[2] = 10;   // run-length encoded true colour
    bytes[12] = static_cast<char>(width & 255);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 255);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 24;
    bytes[17] = 0x20;   // top-left origin
    for (int y = 0; y < height; ++y) {
        auto bgr = [&](int x) {
            Color c = canvas.pixel(x, y);
            return std::string{static_cast<char>(toByte(c.b * c.a)), static_cast<char>(toByte(c.g * c.a)),
                               static_cast<char>(toByte(c.r * c.a))};
        };
        // Packets never cross rows: runs of equal pixels, else literal stretches.
        for (int x = 0; x < width;) {
            int run = 1;
            while (x + run < width && run < 128 && bgr(x + run) == bgr(x)) ++run;
            if (run > 1) {
                bytes += static_cast<char>(0x80 | (run - 1));
                bytes += bgr(x);
                x += run;
                continue;
            }
            int count = 1;
            while (x + count < width && count < 128 && (x + count + 1 >= width || bgr(x + count) != bgr(x + count + 1)))
                ++count;
            bytes += static_cast<char>(count - 1);
            for (int i = 0; i < count; ++i) bytes += bgr(x + i);
            x += count;
        }
    }
    bytes += std::string(8, '\0') + "TRUEVISION-XFILE." + '\0';
    writeFile(path, bytes);
    FIBITMAP* expected = toBitmap(canvas, false);
    verify(path, expected, 0.0);
    FreeImage_Unload(expected);
}

} // namespace assetgen

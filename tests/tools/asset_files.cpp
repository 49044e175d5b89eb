#include "asset_files.h"

#include "support/process.h"

#include <sndfile.h>

namespace ruma::test {

std::string resourcePath(const std::string& relative) { return sourceDir() + "/Resources/" + relative; }

LoadedImage loadImage(const std::string& path)
{
    LoadedImage image;
    image.type = FreeImage_GetFileType(path.c_str(), 0);
    if (image.type == FIF_UNKNOWN) return image;
    FIBITMAP* bitmap = FreeImage_Load(image.type, path.c_str(), 0);
    if (!bitmap) return image;
    image.width = FreeImage_GetWidth(bitmap);
    image.height = FreeImage_GetHeight(bitmap);
    image.bpp = FreeImage_GetBPP(bitmap);
    if (FreeImage_GetImageType(bitmap) == FIT_BITMAP && (image.bpp == 24 || image.bpp == 32)) {
        unsigned step = image.bpp / 8;
        image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
        for (unsigned y = 0; y < image.height; ++y) {
            const BYTE* row = FreeImage_GetScanLine(bitmap, y);
            for (unsigned x = 0; x < image.width; ++x) {
                unsigned char* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
                p[0] = row[x * step + FI_RGBA_RED];
                p[1] = row[x * step + FI_RGBA_GREEN];
                p[2] = row[x * step + FI_RGBA_BLUE];
                p[3] = step == 4 ? row[x * step + FI_RGBA_ALPHA] : 255;
            }
        }
    }
    FreeImage_Unload(bitmap);
    return image;
}

LoadedSound loadSound(const std::string& path)
{
    LoadedSound sound;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return sound;
    sound.opened = true;
    sound.sampleRate = info.samplerate;
    sound.channels = info.channels;
    sound.format = info.format;
    std::vector<float> frames(static_cast<size_t>(info.frames) * info.channels);
    sf_count_t read = sf_readf_float(file, frames.data(), info.frames);
    for (sf_count_t i = 0; i < read; ++i) sound.samples.push_back(frames[static_cast<size_t>(i * info.channels)]);
    sf_close(file);
    return sound;
}

} // namespace ruma::test

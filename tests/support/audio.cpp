#include "support/audio.h"

#include <sndfile.h>

#include <cmath>
#include <filesystem>

namespace ruma::test {

bool writeTone(const std::string& path, double hz, double seconds, int format, double rightHz, double amplitude)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = rightHz > 0.0 ? 2 : 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    const int frames = static_cast<int>(seconds * kRate + 0.5);
    std::vector<float> samples(static_cast<size_t>(frames) * info.channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < info.channels; ++c)
            samples[size_t(i) * info.channels + c] =
                static_cast<float>(amplitude * std::sin(2.0 * M_PI * (c ? rightHz : hz) * i / kRate));
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return true;
}

Sound readMono(const std::string& path)
{
    Sound sound;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return sound;
    std::vector<float> interleaved(static_cast<size_t>(info.frames) * info.channels);
    sf_count_t frames = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    sound.rate = info.samplerate;
    sound.samples.resize(static_cast<size_t>(frames));
    for (sf_count_t i = 0; i < frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < info.channels; ++c) sum += interleaved[static_cast<size_t>(i * info.channels + c)];
        sound.samples[static_cast<size_t>(i)] = sum / static_cast<float>(info.channels);
    }
    return sound;
}

double frequency(const std::vector<float>& samples, int rate)
{
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        if (samples[i - 1] < 0.0f && samples[i] >= 0.0f) {
            last = (i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
            if (first < 0.0) first = last;
            ++crossings;
        }
    return crossings < 2 ? 0.0 : (crossings - 1) * static_cast<double>(rate) / (last - first);
}

} // namespace ruma::test

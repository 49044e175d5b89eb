// Test helpers for sound: tone files written with libsndfile, and measures of
// what a manual loopback engine mixes (stereo floats).
#pragma once

#include "sound/sound_engine.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace ruma::test {

constexpr int kRate = 44100;
// One frame of the game at 60 fps, in samples.
constexpr int kFrame = kRate / 60;
// Output below this is silence.
constexpr float kSilence = 1e-4f;

// A sine tone; left and right differ when rightHz is given. format is the
// libsndfile container and encoding, e.g. SF_FORMAT_WAV | SF_FORMAT_PCM_16.
inline bool writeTone(const std::string& path, double hz, double seconds, int format,
                      double rightHz = 0.0, double amplitude = 0.3)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = rightHz > 0.0 ? 2 : 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    const int frames = static_cast<int>(seconds * kRate + 0.5);
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * i / kRate)));
        if (rightHz > 0.0)
            samples.push_back(static_cast<float>(amplitude * std::sin(2.0 * M_PI * rightHz * i / kRate)));
    }
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return true;
}

constexpr int kWav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kMp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;

// One channel (0 left, 1 right) of interleaved stereo.
inline std::vector<float> channel(const std::vector<float>& stereo, int which)
{
    std::vector<float> out;
    for (size_t i = static_cast<size_t>(which); i < stereo.size(); i += 2) out.push_back(stereo[i]);
    return out;
}

inline float rms(const std::vector<float>& samples)
{
    if (samples.empty()) return 0.0f;
    double sum = 0.0;
    for (float s : samples) sum += static_cast<double>(s) * s;
    return static_cast<float>(std::sqrt(sum / samples.size()));
}

inline float peak(const std::vector<float>& samples)
{
    float most = 0.0f;
    for (float s : samples) most = std::max(most, std::fabs(s));
    return most;
}

// Frequency of a steady tone from its rising zero crossings (interpolated).
inline double frequency(const std::vector<float>& samples)
{
    double first = -1.0;
    double last = -1.0;
    int crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0.0f && samples[i] >= 0.0f) {
            double at = (i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
            if (first < 0.0) first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return (crossings - 1) * static_cast<double>(kRate) / (last - first);
}

inline std::vector<float> renderSeconds(SoundEngine& engine, double seconds)
{
    return engine.render(static_cast<int>(seconds * kRate));
}

} // namespace ruma::test

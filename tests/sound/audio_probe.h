// Test helpers for sound: measures of what a manual loopback engine mixes
// (stereo floats). Tone files are written with support/audio.h.
#pragma once

#include "sound/sound_engine.h"
#include "support/audio.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace ruma::test {

// One frame of the game at 60 fps, in samples.
constexpr int kFrame = kRate / 60;
// Output below this is silence.
constexpr float kSilence = 1e-4f;

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

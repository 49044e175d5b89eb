// Sound in tests: tone files, reading files as mono samples and the pitch of
// what was heard.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

namespace ruma::test {

constexpr int kRate = 44100;
constexpr int kWav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kMp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;

// A sine tone at kRate (amplitude 0: silence); left and right differ when
// rightHz is given. format is a libsndfile format, e.g. kWav. Creates the folder.
bool writeTone(const std::string& path, double hz, double seconds, int format, double rightHz = 0.0,
               double amplitude = 0.3);

struct Sound {
    int rate = 0;
    std::vector<float> samples;   // mono, -1..1
};

// Any file libsndfile reads (WAV, MP3), channels averaged; empty on failure.
Sound readMono(const std::string& path);
// Frequency of a steady tone from its rising zero crossings (interpolated).
double frequency(const std::vector<float>& samples, int rate = kRate);

} // namespace ruma::test

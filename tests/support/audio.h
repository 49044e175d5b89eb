// Sound in tests: tone files, reading files as mono samples and finding where
// a known sound occurs in a recording.
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
// Linear-interpolated to another rate (averaging neighbours when shrinking).
Sound resampled(const Sound& sound, int rate);
// The first start of a 20 ms window louder than threshold (RMS), in samples; -1 if none.
long firstOnset(const Sound& sound, float threshold, long from = 0);

struct Match {
    long at = -1;             // sample of the recording where the sound starts
    double correlation = 0;   // normalised, 1 for an exact copy at any volume
};
// Where the sound (same rate) best matches the recording in [from, to).
Match bestMatch(const Sound& recording, const Sound& sound, long from, long to);

} // namespace ruma::test

// Recorded sound in tests: reading files as mono samples and finding where a
// known sound occurs in a recording.
#pragma once

#include <string>
#include <vector>

namespace ruma::test {

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

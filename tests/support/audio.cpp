#include "support/audio.h"

#include <sndfile.h>

#include <algorithm>
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

Sound resampled(const Sound& sound, int rate)
{
    if (sound.rate == rate || sound.samples.empty()) return sound;
    Sound out;
    out.rate = rate;
    double step = static_cast<double>(sound.rate) / rate;
    size_t count = static_cast<size_t>(sound.samples.size() / step);
    out.samples.resize(count);
    int span = std::max(1, static_cast<int>(std::floor(step)));
    for (size_t i = 0; i < count; ++i) {
        double at = i * step;
        size_t base = static_cast<size_t>(at);
        double f = at - base;
        // Average the samples the new one covers, then blend with the next.
        auto mean = [&](size_t start) {
            double sum = 0.0;
            int n = 0;
            for (int k = 0; k < span && start + k < sound.samples.size(); ++k, ++n) sum += sound.samples[start + k];
            return n ? sum / n : 0.0;
        };
        out.samples[i] = static_cast<float>(mean(base) * (1.0 - f) + mean(base + 1) * f);
    }
    return out;
}

long firstOnset(const Sound& sound, float threshold, long from)
{
    long window = std::max(1, sound.rate / 50);
    for (long start = std::max(0L, from); start + window <= static_cast<long>(sound.samples.size());
         start += window / 4) {
        double sum = 0.0;
        for (long i = start; i < start + window; ++i) sum += double(sound.samples[i]) * sound.samples[i];
        if (std::sqrt(sum / window) > threshold) return start;
    }
    return -1;
}

namespace {

// Normalised correlation of the sound against the recording at offset at.
double correlationAt(const Sound& recording, const Sound& sound, long at)
{
    double dot = 0.0, a2 = 0.0, b2 = 0.0;
    for (size_t i = 0; i < sound.samples.size(); ++i) {
        size_t j = static_cast<size_t>(at) + i;
        if (j >= recording.samples.size()) break;
        double a = recording.samples[j], b = sound.samples[i];
        dot += a * b;
        a2 += a * a;
        b2 += b * b;
    }
    if (a2 <= 0.0 || b2 <= 0.0) return 0.0;
    return dot / std::sqrt(a2 * b2);
}

std::vector<double> envelope(const Sound& sound, long hop)
{
    std::vector<double> out;
    for (size_t start = 0; start + hop <= sound.samples.size(); start += static_cast<size_t>(hop)) {
        double sum = 0.0;
        for (long i = 0; i < hop; ++i) sum += double(sound.samples[start + i]) * sound.samples[start + i];
        out.push_back(std::sqrt(sum / hop));
    }
    return out;
}

} // namespace

Match bestMatch(const Sound& recording, const Sound& sound, long from, long to)
{
    Match best;
    if (sound.samples.empty() || recording.samples.empty()) return best;
    to = std::min<long>(to, static_cast<long>(recording.samples.size()));
    // Find candidates on the loudness envelopes (5 ms steps), then look
    // sample by sample around the best few.
    long hop = std::max(1, recording.rate / 200);
    std::vector<double> rec = envelope(recording, hop), tpl = envelope(sound, hop);
    if (tpl.empty()) return best;
    std::vector<std::pair<double, long>> candidates;
    for (long e = from / hop; e + static_cast<long>(tpl.size()) <= static_cast<long>(rec.size()) && e * hop < to; ++e) {
        double dot = 0.0, a2 = 0.0, b2 = 0.0;
        for (size_t i = 0; i < tpl.size(); ++i) {
            dot += rec[e + i] * tpl[i];
            a2 += rec[e + i] * rec[e + i];
            b2 += tpl[i] * tpl[i];
        }
        if (a2 > 0.0 && b2 > 0.0) candidates.push_back({dot / std::sqrt(a2 * b2), e * hop});
    }
    std::sort(candidates.rbegin(), candidates.rend());
    if (candidates.size() > 5) candidates.resize(5);
    for (const auto& candidate : candidates)
        for (long at = std::max(from, candidate.second - 2 * hop); at < candidate.second + 2 * hop && at < to; ++at) {
            double c = correlationAt(recording, sound, at);
            if (c > best.correlation) best = {at, c};
        }
    return best;
}

} // namespace ruma::test

// Every sound of the game, synthesised: the looping chase music, the clicks,
// the jump, the boost's whoosh, the cat's meow and the two end jingles.
// 44.1 kHz, 16-bit mono; the jingles are MP3 (LAME, constant bit rate, with
// the gapless info frame).
#include "sounds.h"

#include "assets.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double noteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// A deterministic white noise source.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 1) {}
    float next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }
};

// A two-pole resonant band-pass, its centre movable per sample.
struct Resonator {
    double y1 = 0, y2 = 0;
    float run(float x, double hz, double q)
    {
        double r = std::exp(-kTwoPi * (hz / q) / kSampleRate);
        double c = 2 * r * std::cos(kTwoPi * hz / kSampleRate);
        double y = (1 - r) * x + c * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        return static_cast<float>(y);
    }
};

// A buffer that wraps around: what is written past the end lands at the start,
// so a piece rendered into it loops without a seam.
struct Track {
    std::vector<float> samples;
    bool loops = false;
    explicit Track(double seconds, bool loop = false)
        : samples(static_cast<size_t>(std::lround(seconds * kSampleRate)), 0.0f), loops(loop) {}
    void add(long index, float value)
    {
        auto n = static_cast<long>(samples.size());
        if (loops) index = ((index % n) + n) % n;
        if (index >= 0 && index < n) samples[static_cast<size_t>(index)] += value;
    }
};

// A tone of a few harmonics with an attack-decay-release shape.
struct Voice {
    std::vector<float> harmonics{1.0f};   // amplitudes of partials 1, 2, 3, ...
    double attack = 0.005, decay = 0.2, sustain = 0.6, release = 0.08;
    double vibrato = 0.0;                  // depth in semitones
    double glide = 0.0;                    // semitones bent over the note
};

void play(Track& track, const Voice& voice, double start, double length, double hz, float gain)
{
    long first = std::lround(start * kSampleRate);
    long count = std::lround((length + voice.release) * kSampleRate);
    double phase = 0;
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double env = t < voice.attack ? t / voice.attack
                                      : voice.sustain + (1 - voice.sustain) * std::exp(-(t - voice.attack) / voice.decay);
        if (t > length) env *= std::max(0.0, 1.0 - (t - length) / voice.release);
        double bend = voice.glide * std::min(1.0, t / std::max(length, 1e-3)) + voice.vibrato * std::sin(kTwoPi * 5.5 * t);
        phase += kTwoPi * hz * std::pow(2.0, bend / 12.0) / kSampleRate;
        double s = 0;
        for (size_t k = 0; k < voice.harmonics.size(); ++k) s += voice.harmonics[k] * std::sin(phase * double(k + 1));
        track.add(first + i, static_cast<float>(s * env) * gain);
    }
}

void kick(Track& track, double start, float gain)
{
    long first = std::lround(start * kSampleRate);
    double phase = 0;
    for (long i = 0; i < static_cast<long>(0.3 * kSampleRate); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        phase += kTwoPi * (45 + 110 * std::exp(-t * 30)) / kSampleRate;
        track.add(first + i, static_cast<float>(std::sin(phase) * std::exp(-t * 9)) * gain);
    }
}

void noiseHit(Track& track, double start, double length, double hz, double q, float gain, uint32_t seed)
{
    Noise noise(seed);
    Resonator filter;
    long first = std::lround(start * kSampleRate);
    for (long i = 0; i < static_cast<long>(length * kSampleRate); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        float v = filter.run(noise.next(), hz, q) * static_cast<float>(std::exp(-t * 6.0 / length));
        track.add(first + i, v * gain);
    }
}

std::vector<int16_t> toPcm(const std::vector<float>& samples, float peak = 0.89f)
{
    float loudest = 1e-9f;
    for (float s : samples) loudest = std::max(loudest, std::fabs(s));
    std::vector<int16_t> pcm;
    pcm.reserve(samples.size());
    for (float s : samples) pcm.push_back(static_cast<int16_t>(std::lround(s / loudest * peak * 32767.0f)));
    return pcm;
}

// Fades the first and last milliseconds of a one-shot sound to silence.
void softEdges(std::vector<float>& samples, double seconds = 0.004)
{
    auto n = static_cast<size_t>(seconds * kSampleRate);
    for (size_t i = 0; i < n && i < samples.size(); ++i) {
        float g = static_cast<float>(i) / n;
        samples[i] *= g;
        samples[samples.size() - 1 - i] *= g;
    }
}

void put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 255);
}

void put16(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 255);
    out += static_cast<char>(v >> 8);
}

std::string wavBytes(const std::vector<int16_t>& pcm)
{
    auto data = static_cast<uint32_t>(pcm.size() * 2);
    std::string out = "RIFF";
    put32(out, 36 + data);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);   // PCM
    put16(out, 1);   // mono
    put32(out, kSampleRate);
    put32(out, kSampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, data);
    for (int16_t s : pcm) put16(out, static_cast<uint16_t>(s));
    return out;
}

std::string mp3Bytes(const std::vector<int16_t>& pcm)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, kSampleRate);
    lame_set_out_samplerate(lame, kSampleRate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 128);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);   // the info frame tells decoders the exact length
    if (lame_init_params(lame) < 0) throw std::runtime_error("LAME refused its settings");
    std::vector<unsigned char> buffer(pcm.size() * 5 / 4 + 7200 + 16384);
    int used = lame_encode_buffer(lame, pcm.data(), nullptr, static_cast<int>(pcm.size()), buffer.data(),
                                  static_cast<int>(buffer.size()));
    if (used < 0) throw std::runtime_error("LAME failed to encode");
    int flushed = lame_encode_flush(lame, buffer.data() + used, static_cast<int>(buffer.size()) - used);
    std::string out(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(used + std::max(flushed, 0)));
    unsigned char tag[2880];
    size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagSize > 0 && tagSize <= out.size()) out.replace(0, tagSize, reinterpret_cast<const char*>(tag), tagSize);
    lame_close(lame);
    return out;
}

// ---------------------------------------------------------------- the music

// A chase in A minor at 132 beats a minute: twelve bars with kick, snare and
// hats, a plucked bass in eighths, soft chords and a square-ish lead.
std::vector<float> backgroundMusic()
{
    const double beat = 60.0 / 132.0;
    const int bars = 12;
    Track track(bars * 4 * beat, true);
    // Chord roots (MIDI) per bar: Am F C G | Am F G E | Dm Am F E
    const int roots[bars] = {57, 53, 48, 55, 57, 53, 55, 52, 50, 57, 53, 52};
    const bool minor[bars] = {true, false, false, false, true, false, false, false, true, true, false, false};

    Voice bass;
    bass.harmonics = {1.0f, 0.5f, 0.25f, 0.12f};
    bass.decay = 0.12;
    bass.sustain = 0.3;
    Voice pad;
    pad.harmonics = {1.0f, 0.3f, 0.15f};
    pad.attack = 0.08;
    pad.sustain = 0.8;
    pad.release = 0.3;
    Voice lead;
    lead.harmonics = {1.0f, 0.0f, 0.33f, 0.0f, 0.2f, 0.0f, 0.14f};
    lead.decay = 0.25;
    lead.sustain = 0.55;
    lead.vibrato = 0.12;

    for (int bar = 0; bar < bars; ++bar) {
        double t0 = bar * 4 * beat;
        int root = roots[bar];
        for (int e = 0; e < 8; ++e) {   // bass: root, octave, fifth
            int note = root - 24 + (e % 4 == 2 ? 12 : (e % 4 == 3 ? 7 : 0));
            play(track, bass, t0 + e * beat / 2, beat / 2 * 0.8, noteHz(note), 0.32f);
        }
        int third = minor[bar] ? 3 : 4;
        for (int interval : {0, third, 7}) play(track, pad, t0, 4 * beat * 0.95, noteHz(root + interval), 0.045f);
        for (int b = 0; b < 4; ++b) {
            if (b % 2 == 0) kick(track, t0 + b * beat, 0.55f);
            else noiseHit(track, t0 + b * beat, 0.18, 1800, 1.2, 0.9f, static_cast<uint32_t>(bar * 8 + b + 1));
            if (b == 3) kick(track, t0 + 3.5 * beat, 0.35f);   // a pickup kick before the next bar
        }
        for (int h = 0; h < 8; ++h)
            noiseHit(track, t0 + h * beat / 2, 0.05, 8000, 2.0, h % 2 ? 0.18f : 0.28f, static_cast<uint32_t>(1000 + bar * 8 + h));
    }

    // The lead: (bar, beat, length in beats, MIDI note); a running motif, a
    // climbing answer, and a high bridge before the loop starts again.
    struct Note {
        int bar;
        double beat, length;
        int midi;
    };
    const Note melody[] = {
        {0, 0, 0.5, 69}, {0, 0.5, 0.5, 72}, {0, 1, 0.5, 76}, {0, 1.5, 0.5, 72}, {0, 2, 1, 74}, {0, 3, 1, 72},
        {1, 0, 0.5, 69}, {1, 0.5, 0.5, 72}, {1, 1, 0.5, 77}, {1, 1.5, 0.5, 76}, {1, 2, 2, 72},
        {2, 0, 0.5, 67}, {2, 0.5, 0.5, 72}, {2, 1, 0.5, 76}, {2, 1.5, 0.5, 79}, {2, 2, 1, 77}, {2, 3, 1, 76},
        {3, 0, 1.5, 74}, {3, 1.5, 0.5, 71}, {3, 2, 2, 67},
        {4, 0, 0.5, 69}, {4, 0.5, 0.5, 72}, {4, 1, 0.5, 76}, {4, 1.5, 0.5, 72}, {4, 2, 1, 74}, {4, 3, 1, 76},
        {5, 0, 0.5, 77}, {5, 0.5, 0.5, 76}, {5, 1, 0.5, 74}, {5, 1.5, 0.5, 72}, {5, 2, 2, 69},
        {6, 0, 0.5, 71}, {6, 0.5, 0.5, 74}, {6, 1, 0.5, 79}, {6, 1.5, 0.5, 77}, {6, 2, 1, 76}, {6, 3, 1, 74},
        {7, 0, 2, 76}, {7, 2, 1, 68}, {7, 3, 1, 71},
        {8, 0, 1, 74}, {8, 1, 1, 77}, {8, 2, 1, 81}, {8, 3, 1, 77},
        {9, 0, 1, 76}, {9, 1, 1, 72}, {9, 2, 2, 81},
        {10, 0, 0.5, 77}, {10, 0.5, 0.5, 76}, {10, 1, 0.5, 74}, {10, 1.5, 0.5, 72}, {10, 2, 1, 74}, {10, 3, 1, 77},
        {11, 0, 1, 76}, {11, 1, 1, 71}, {11, 2, 1, 68}, {11, 3, 1, 64},
    };
    for (const Note& n : melody)
        play(track, lead, (n.bar * 4 + n.beat) * beat, n.length * beat * 0.9, noteHz(n.midi), 0.16f);
    return track.samples;
}

// ---------------------------------------------------------------- cues

std::vector<float> menuBlip()
{
    Track track(0.16);
    Voice blip;
    blip.harmonics = {1.0f, 0.2f};
    blip.decay = 0.03;
    blip.sustain = 0.0;
    blip.release = 0.02;
    play(track, blip, 0.0, 0.05, 880, 0.6f);
    play(track, blip, 0.06, 0.06, 1318.5, 0.6f);
    return track.samples;
}

std::vector<float> buttonClick()
{
    Track track(0.07);
    noiseHit(track, 0.0, 0.03, 3500, 3.0, 1.0f, 77);
    Voice tick;
    tick.decay = 0.012;
    tick.sustain = 0.0;
    tick.release = 0.01;
    play(track, tick, 0.0, 0.02, 2000, 0.5f);
    return track.samples;
}

std::vector<float> jumpBoing()
{
    Track track(0.38);
    Voice spring;
    spring.harmonics = {1.0f, 0.35f, 0.1f};
    spring.decay = 0.2;
    spring.sustain = 0.2;
    spring.glide = 14.0;   // up more than an octave
    spring.vibrato = 0.3;
    play(track, spring, 0.0, 0.3, 280, 0.7f);
    return track.samples;
}

// Wind rushing past for the length of a boost: noise through a band-pass that
// sweeps up and back down, swelling in and fading out.
std::vector<float> boostWhoosh()
{
    const double length = 1.8;
    Track track(length);
    Noise noise(4242);
    Resonator low, high;
    for (size_t i = 0; i < track.samples.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate, x = t / length;
        double sweep = 350 + 2600 * std::sin(3.14159 * std::pow(x, 0.7));
        double envelope = std::sin(3.14159 * std::pow(x, 0.6)) * (1.0 - 0.3 * x);
        float n = noise.next();
        track.samples[i] = static_cast<float>((low.run(n, sweep, 2.5) * 0.8 + high.run(n, sweep * 2.1, 4.0) * 0.35) * envelope);
    }
    return track.samples;
}

// "Mee-ow": a buzzing voice whose pitch rises and falls while its vowel moves
// from "ee" through "ah" to "oo", made by weighting its harmonics with three
// moving resonances.
std::vector<float> meow()
{
    const double length = 0.95;
    Track track(length);
    double phase = 0;
    for (size_t i = 0; i < track.samples.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate, x = t / length;
        double pitch = 480 + 300 * std::sin(3.14159 * std::pow(x, 0.8)) - 120 * x;
        pitch *= 1.0 + 0.01 * std::sin(kTwoPi * 7 * t);
        double vowel = std::min(1.0, x * 1.6);   // 0 "ee", 0.5 "ah", 1 "oo"
        double f1 = vowel < 0.5 ? 350 + 1200 * vowel : 950 - 700 * (vowel - 0.5);
        double f2 = vowel < 0.5 ? 2600 - 1800 * vowel : 1700 - 1000 * (vowel - 0.5);
        double f3 = 3200;
        phase += kTwoPi * pitch / kSampleRate;
        double s = 0;
        for (int k = 1; k * pitch < 8000; ++k) {
            double f = k * pitch;
            double weight = std::exp(-std::pow((f - f1) / 250, 2)) + 0.7 * std::exp(-std::pow((f - f2) / 350, 2)) +
                            0.3 * std::exp(-std::pow((f - f3) / 500, 2)) + 0.08 / k;
            double fadeOut = std::min(1.0, (8000 - f) / 1500);   // partials leave without a click
            s += weight * fadeOut * std::sin(phase * k);
        }
        double envelope = std::min(1.0, t / 0.06) * std::pow(std::max(0.0, 1.0 - x), 0.6);
        track.samples[i] = static_cast<float>(s * envelope);
    }
    return track.samples;
}

// A bright rising fanfare that lands on a held major chord.
std::vector<float> winJingle()
{
    Track track(3.2);
    Voice bell;
    bell.harmonics = {1.0f, 0.5f, 0.0f, 0.25f, 0.0f, 0.12f};
    bell.decay = 0.35;
    bell.sustain = 0.35;
    bell.release = 0.4;
    const int run[] = {72, 76, 79, 84, 79, 84, 88};
    for (int i = 0; i < 7; ++i) play(track, bell, i * 0.13, 0.12, noteHz(run[i]), 0.35f);
    Voice chord = bell;
    chord.vibrato = 0.08;
    chord.release = 0.9;
    for (int n : {60, 64, 67, 72, 76}) play(track, chord, 1.0, 1.3, noteHz(n), 0.16f);
    for (int k = 0; k < 4; ++k) noiseHit(track, 1.0 + k * 0.25, 0.2, 9000, 2.0, 0.4f, static_cast<uint32_t>(300 + k));
    return track.samples;
}

// A sad falling "wah wah wah waaah".
std::vector<float> loseJingle()
{
    Track track(3.4);
    Voice horn;
    horn.harmonics = {1.0f, 0.7f, 0.5f, 0.3f, 0.2f, 0.1f};
    horn.attack = 0.03;
    horn.decay = 0.3;
    horn.sustain = 0.7;
    horn.release = 0.15;
    horn.glide = -0.6;
    const int notes[] = {67, 66, 65};
    for (int i = 0; i < 3; ++i) play(track, horn, i * 0.55, 0.42, noteHz(notes[i] - 12), 0.3f);
    Voice last = horn;
    last.vibrato = 0.45;
    last.glide = -1.0;
    last.release = 0.5;
    play(track, last, 1.65, 1.2, noteHz(64 - 12), 0.3f);
    return track.samples;
}

void writeWav(const std::string& path, std::vector<float> samples, bool oneShot = true)
{
    if (oneShot) softEdges(samples);
    writeFile(path, wavBytes(toPcm(samples)));
}

} // namespace

void writeSounds(const std::string& root)
{
    const std::string dir = root + "/Sounds/";
    writeWav(dir + "background.wav", backgroundMusic(), false);
    writeWav(dir + "menu.wav", menuBlip());
    writeWav(dir + "button.wav", buttonClick());
    writeWav(dir + "jump.wav", jumpBoing());
    writeWav(dir + "fast.wav", boostWhoosh());
    writeWav(dir + "cat.wav", meow());
    std::vector<float> win = winJingle(), lose = loseJingle();
    softEdges(win);
    softEdges(lose);
    writeFile(dir + "win.mp3", mp3Bytes(toPcm(win)));
    writeFile(dir + "lose.mp3", mp3Bytes(toPcm(lose)));
}

} // namespace assetgen

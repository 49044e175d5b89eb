#include "sound/sound_engine.h"

#include <AL/alext.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>

namespace ruma {

namespace {

LPALCLOOPBACKOPENDEVICESOFT loopbackOpenDevice = nullptr;
LPALCRENDERSAMPLESSOFT renderSamples = nullptr;

bool haveLoopback()
{
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return false;
    loopbackOpenDevice = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    return loopbackOpenDevice && renderSamples;
}

// Whole file as 16-bit samples with one or two channels; empty when the file
// cannot be read. Read as floats and converted here: libsndfile's own scaling
// of float files to integers stretches them to full scale, which would play
// a quiet float sound as loud as possible.
std::vector<short> decodeFile(const std::string& path, int& channels, int& sampleRate)
{
    std::vector<short> pcm;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return pcm;
    channels = info.channels;
    sampleRate = info.samplerate;
    if (channels <= 0 || sampleRate <= 0) {
        sf_close(file);
        return pcm;
    }
    // Surround files are folded to mono: the game's sounds all play centred.
    const int kept = channels > 2 ? 1 : channels;
    const sf_count_t blockFrames = 4096;
    std::vector<float> block(static_cast<size_t>(blockFrames * channels));
    sf_count_t got = 0;
    while ((got = sf_readf_float(file, block.data(), blockFrames)) > 0) {
        for (sf_count_t frame = 0; frame < got; ++frame) {
            const float* in = &block[static_cast<size_t>(frame * channels)];
            for (int c = 0; c < kept; ++c) {
                float value = in[c];
                if (kept != channels) {
                    value = 0.0f;
                    for (int all = 0; all < channels; ++all) value += in[all];
                    value /= static_cast<float>(channels);
                }
                value = std::clamp(value, -1.0f, 1.0f);
                pcm.push_back(static_cast<short>(std::lround(value * 32767.0f)));
            }
        }
    }
    sf_close(file);
    channels = kept;
    return pcm;
}

// A file's samples read ahead of the engine asking for them.
struct DecodedSound {
    std::vector<short> pcm;
    int channels = 0;
    int rate = 0;
};

ALint stateOf(ALuint voice)
{
    ALint state = AL_STOPPED;
    alGetSourcei(voice, AL_SOURCE_STATE, &state);
    return state;
}

// A paused sound still counts: it will go on when let go.
bool isSounding(ALint state) { return state == AL_PLAYING || state == AL_PAUSED; }

} // namespace

// ---------------------------------------------------------------- PlayingSound

void PlayingSound::setProperty(ALenum property, float value)
{
    engine_.select();
    alSourcef(voice_, property, value);
}

float PlayingSound::property(ALenum property) const
{
    engine_.select();
    ALfloat value = 0.0f;
    alGetSourcef(voice_, property, &value);
    return value;
}

void PlayingSound::setIsPaused(bool paused)
{
    engine_.select();
    ALint state = stateOf(voice_);
    if (paused && state == AL_PLAYING) alSourcePause(voice_);
    if (!paused && (state == AL_PAUSED || state == AL_INITIAL)) alSourcePlay(voice_);
}

bool PlayingSound::isPlaying() const
{
    engine_.select();
    return isSounding(stateOf(voice_));
}

// ---------------------------------------------------------------- SoundEngine

SoundEngine::SoundEngine(ALCdevice* device, bool loopback, int sampleRate)
    : device_(device), loopback_(loopback), sampleRate_(sampleRate)
{
}

bool SoundEngine::makeContext(const ALCint* attributes)
{
    context_ = alcCreateContext(device_, attributes);
    if (!context_) return false;
    alcMakeContextCurrent(context_);
    if (sampleRate_ == 0) alcGetIntegerv(device_, ALC_FREQUENCY, 1, &sampleRate_);
    alListenerf(AL_GAIN, 1.0f);
    // Voices for every sound the game has going at once, made up front: a
    // sound started in play takes an idle one and allocates nothing.
    voices_.reserve(kVoicesKept);
    alGetError();
    for (int i = 0; i < kVoicesMadeAtStart; ++i) {
        Voice voice;
        alGenSources(1, &voice.name);
        if (alGetError() != AL_NO_ERROR) break;
        voices_.push_back(std::move(voice));
    }
    return true;
}

SoundEngine* SoundEngine::createManual(int sampleRate)
{
    if (!haveLoopback()) return nullptr;
    ALCdevice* device = loopbackOpenDevice(nullptr);
    if (!device) return nullptr;
    // Float output without limiter: what is mixed is exactly what the sources say.
    const ALCint attributes[] = {
        ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
        ALC_FREQUENCY, sampleRate, ALC_HRTF_SOFT, ALC_FALSE, ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, 0};
    auto* engine = new SoundEngine(device, true, sampleRate);
    if (!engine->makeContext(attributes)) {
        delete engine;
        return nullptr;
    }
    return engine;
}

SoundEngine* SoundEngine::create(const char* deviceName)
{
    if (ALCdevice* device = alcOpenDevice(deviceName)) {
        auto* engine = new SoundEngine(device, false, 0);
        if (engine->makeContext(nullptr)) return engine;
        delete engine;
    }
    SoundEngine* engine = createManual();
    if (!engine) return nullptr;
    std::cout << "No sound device found: the game runs silently" << std::endl;
    engine->startPacing();
    return engine;
}

void SoundEngine::startPacing()
{
    pacer_ = std::thread([this] {
        using Clock = std::chrono::steady_clock;
        const int chunk = 512;
        std::vector<float> discarded(chunk * 2);
        Clock::time_point start = Clock::now();
        long long mixed = 0;
        while (!stopPacing_.load()) {
            renderSamples(device_, discarded.data(), chunk);
            mixed += chunk;
            Clock::time_point due =
                start + std::chrono::duration_cast<Clock::duration>(
                            std::chrono::duration<double>(static_cast<double>(mixed) / sampleRate_));
            // After a long stall (a suspended machine) start afresh instead of
            // mixing the whole missed time at once.
            if (Clock::now() - due > std::chrono::seconds(1)) {
                start = Clock::now();
                mixed = 0;
                continue;
            }
            std::this_thread::sleep_until(due);
        }
    });
}

SoundEngine::~SoundEngine()
{
    if (pacer_.joinable()) {
        stopPacing_.store(true);
        pacer_.join();
    }
    if (context_) {
        select();
        for (Voice& voice : voices_) {
            alSourceStop(voice.name);
            alDeleteSources(1, &voice.name);
        }
        for (auto& source : sources_)
            if (source->buffer) alDeleteBuffers(1, &source->buffer);
        if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    if (device_) alcCloseDevice(device_);
}

void SoundEngine::select()
{
    if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
}

LoadAhead::Result readSoundAhead(const std::string& path, size_t& bytes)
{
    auto sound = std::make_shared<DecodedSound>();
    sound->pcm = decodeFile(path, sound->channels, sound->rate);
    if (sound->pcm.empty()) return nullptr;
    bytes = sound->pcm.size() * sizeof(short);
    return sound;
}

SoundSource* SoundEngine::addSoundSource(const std::string& path)
{
    select();
    auto source = std::make_unique<SoundSource>();
    source->path = path;
    int channels = 0;
    int rate = 0;
    std::vector<short> pcm;
    if (auto ahead = std::static_pointer_cast<DecodedSound>(claimLoadedAhead(path))) {
        pcm = std::move(ahead->pcm);
        channels = ahead->channels;
        rate = ahead->rate;
    } else {
        pcm = decodeFile(path, channels, rate);
    }
    if (!pcm.empty()) {
        alGetError();
        alGenBuffers(1, &source->buffer);
        alBufferData(source->buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, pcm.data(),
                     static_cast<ALsizei>(pcm.size() * sizeof(short)), rate);
        if (alGetError() != AL_NO_ERROR) {
            alDeleteBuffers(1, &source->buffer);
            source->buffer = 0;
        } else {
            source->seconds = static_cast<double>(pcm.size() / channels) / rate;
        }
    }
    sources_.push_back(std::move(source));
    return sources_.back().get();
}

SoundEngine::Voice* SoundEngine::freeVoice()
{
    for (Voice& voice : voices_) {
        if (!voice.tracked && !isSounding(stateOf(voice.name))) return &voice;
    }
    alGetError();
    Voice voice;
    alGenSources(1, &voice.name);
    if (alGetError() != AL_NO_ERROR) return nullptr;   // every voice is busy
    voices_.push_back(std::move(voice));
    return &voices_.back();
}

PlayingSound* SoundEngine::play2D(SoundSource* source, bool looped, bool startPaused, bool track)
{
    if (!source || !source->buffer) return nullptr;
    select();
    Voice* voice = freeVoice();
    if (!voice) return nullptr;
    ALuint name = voice->name;
    alSourceStop(name);
    alSourcei(name, AL_BUFFER, static_cast<ALint>(source->buffer));
    alSourcei(name, AL_LOOPING, looped ? AL_TRUE : AL_FALSE);
    alSourcef(name, AL_GAIN, 1.0f);
    alSourcef(name, AL_PITCH, 1.0f);
    // Glued to the listener: 2D sounds are never attenuated or panned.
    alSourcei(name, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(name, AL_POSITION, 0.0f, 0.0f, 0.0f);
    voice->source = source;
    // A sound started paused waits in its initial state until let go.
    if (!startPaused) alSourcePlay(name);
    if (!track) return nullptr;
    voice->tracked.reset(new PlayingSound(*this, name));
    return voice->tracked.get();
}

int SoundEngine::playingCount(const SoundSource* source)
{
    if (!source || !source->buffer) return 0;
    select();
    int count = 0;
    for (const Voice& voice : voices_) {
        if (voice.source == source && isSounding(stateOf(voice.name))) ++count;
    }
    return count;
}

void SoundEngine::setMasterVolume(float volume)
{
    select();
    alListenerf(AL_GAIN, volume);
}

float SoundEngine::getMasterVolume()
{
    select();
    ALfloat volume = 0.0f;
    alGetListenerf(AL_GAIN, &volume);
    return volume;
}

std::vector<float> SoundEngine::render(int frames)
{
    if (!loopback_ || pacer_.joinable() || frames <= 0) return {};
    std::vector<float> mixed(static_cast<size_t>(frames) * 2);
    renderSamples(device_, mixed.data(), frames);
    return mixed;
}

} // namespace ruma

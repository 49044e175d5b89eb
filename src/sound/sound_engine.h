// The game's small sound engine on OpenAL Soft: sources decoded whole from
// WAV or MP3 files (libsndfile), 2D playback once or looped, volumes and
// playback speed. Without a sound card it runs on OpenAL Soft's loopback
// device, mixed and thrown away at the pace of the clock, so that cues still
// start, end and repeat as they would be heard.
#pragma once

#include "platform/load_ahead.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace ruma {

// One sound file, decoded into an AL buffer. A file that could not be read
// gives a source without buffer: playing it does nothing.
struct SoundSource {
    std::string path;
    ALuint buffer = 0;
    double seconds = 0.0;
};

// A sound file's samples as addSoundSource would decode them, decoded without
// the engine for a source added later from the same file (null when unreadable).
LoadAhead::Result readSoundAhead(const std::string& path, size_t& bytes);

class SoundEngine;

// A sound the caller asked to keep track of (the music): its volume and speed
// can be changed while it plays. Owned by the engine.
class PlayingSound {
public:
    void setVolume(float volume) { setProperty(AL_GAIN, volume); }
    float getVolume() const { return property(AL_GAIN); }
    // 1.0 is the recorded speed; speed and pitch change together.
    void setPlaybackSpeed(float speed) { setProperty(AL_PITCH, speed); }
    float getPlaybackSpeed() const { return property(AL_PITCH); }
    void setIsPaused(bool paused);
    // True while the sound plays or is paused; false once a sound played once has ended.
    bool isPlaying() const;

private:
    friend class SoundEngine;
    PlayingSound(SoundEngine& engine, ALuint voice) : engine_(engine), voice_(voice) {}
    void setProperty(ALenum property, float value);
    float property(ALenum property) const;
    SoundEngine& engine_;
    ALuint voice_;
};

class SoundEngine {
public:
    // Opens the named output device, or the default one for null. When there is
    // none, falls back to a loopback device mixed in the background at real-time
    // pace and prints one warning line. Null only when even that fails.
    static SoundEngine* create(const char* deviceName = nullptr);
    // A loopback device that mixes only when render() is called: time stands
    // still between calls. For tests and tools that measure what is played.
    static SoundEngine* createManual(int sampleRate = 44100);
    ~SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    // Never null; the engine owns the source.
    SoundSource* addSoundSource(const std::string& path);
    // Starts the source from its beginning, centred and at full volume.
    // Returns a handle only when track is set and the source has sound.
    PlayingSound* play2D(SoundSource* source, bool looped, bool startPaused, bool track);
    // Sounds of the source playing or paused right now.
    int playingCount(const SoundSource* source);
    bool isCurrentlyPlaying(const SoundSource* source) { return playingCount(source) > 0; }

    // 0.0 silences everything, 1.0 is full volume.
    void setMasterVolume(float volume);
    float getMasterVolume();

    // True when the output is a loopback device (nothing reaches a speaker).
    bool isSilent() const { return loopback_; }
    int sampleRate() const { return sampleRate_; }
    // Manual engines only: mixes the next frames and returns them as
    // interleaved stereo floats. Empty on other engines.
    std::vector<float> render(int frames);

private:
    struct Voice {
        ALuint name = 0;
        const SoundSource* source = nullptr;
        std::unique_ptr<PlayingSound> tracked;
    };

    SoundEngine(ALCdevice* device, bool loopback, int sampleRate);
    bool makeContext(const ALCint* attributes);
    void select();
    void startPacing();
    Voice* freeVoice();

    friend class PlayingSound;

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    bool loopback_ = false;
    int sampleRate_ = 0;
    std::vector<std::unique_ptr<SoundSource>> sources_;
    static constexpr int kVoicesMadeAtStart = 8;
    static constexpr size_t kVoicesKept = 32;   // room reserved before more must be found
    std::vector<Voice> voices_;
    std::thread pacer_;
    std::atomic<bool> stopPacing_{false};
};

} // namespace ruma

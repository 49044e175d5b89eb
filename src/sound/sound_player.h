// The game's music and sound cues: menu and button clicks, jump, boost, the
// cat's call, the win and lose jingles, the mute key, and music that speeds up
// and grows louder as the cat comes near.
#pragma once

#include <string>

namespace ruma {

class SoundEngine;
class PlayingSound;
struct SoundSource;

// The game's sounds in the order they load: background music, menu, jump,
// button, boost, win, lose, the cat's call.
constexpr const char* kSoundFiles[8] = {"Resources/Sounds/background.wav", "Resources/Sounds/menu.wav",
                                        "Resources/Sounds/jump.wav",       "Resources/Sounds/button.wav",
                                        "Resources/Sounds/fast.wav",       "Resources/Sounds/win.mp3",
                                        "Resources/Sounds/lose.mp3",       "Resources/Sounds/cat.wav"};

class SoundPlayer {
public:
    // The sound engine (a silent one without a sound card) and the eight
    // sources, read from "Resources/Sounds/" below the working directory.
    SoundPlayer();
    // Takes over engine (null ends the game as a failed engine does) and reads
    // the sound files below root, which is empty or ends in '/'.
    SoundPlayer(SoundEngine* engine, const std::string& root);
    ~SoundPlayer() { release(); }
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    double nextCatSoundTime;   // game seconds; advanced by the rules
    bool muted;
    bool musicSilenced;

    // The background music, looped and silent until play starts.
    void startMusic();
    void playMenu();
    // F1 into the controls screen: click, and the music goes on inaudibly.
    void pause();
    // F1 back into play: click, and the music is heard again.
    void resume();
    void playButton();
    void playJump();
    // Every frame of a boost: the cue starts again as soon as it ends.
    void playFast();
    void playCat();
    bool isCatPlaying();
    // F7: all sound off, or back to full volume.
    void toggleMute();
    // Every frame while an end screen shows: the jingle starts again whenever it ends.
    void playEnd(bool won);
    // Every play frame: the nearer the cat, the faster and louder the music.
    void adaptMusic(int catDistance);
    // Drops the engine and everything it owns; later calls do nothing.
    void release();

    SoundEngine* engine() const { return engine_; }
    // Null until the music starts, or when its file could not be read.
    PlayingSound* music() const { return music_; }

private:
    void play(SoundSource* source);
    void playUnlessPlaying(SoundSource* source);
    void setMusicVolume(float volume);

    SoundEngine* engine_ = nullptr;
    SoundSource* background_ = nullptr;
    SoundSource* menu_ = nullptr;
    SoundSource* jump_ = nullptr;
    SoundSource* button_ = nullptr;
    SoundSource* fast_ = nullptr;
    SoundSource* win_ = nullptr;
    SoundSource* lose_ = nullptr;
    SoundSource* cat_ = nullptr;
    PlayingSound* music_ = nullptr;
};

} // namespace ruma

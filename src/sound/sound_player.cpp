#include "sound/sound_player.h"

#include "platform/fatal.h"
#include "sound/sound_engine.h"

#include <iterator>

namespace ruma {

SoundPlayer::SoundPlayer() : SoundPlayer(SoundEngine::create(), "") {}

SoundPlayer::SoundPlayer(SoundEngine* engine, const std::string& root)
    : nextCatSoundTime(16.0), muted(false), musicSilenced(false), engine_(engine)
{
    if (!engine_) fatalError("Failed to initialize sound engine");
    SoundSource** sources[] = {&background_, &menu_, &jump_, &button_, &fast_, &win_, &lose_, &cat_};
    for (size_t i = 0; i < std::size(kSoundFiles); ++i) *sources[i] = engine_->addSoundSource(root + kSoundFiles[i]);
}

void SoundPlayer::play(SoundSource* source)
{
    if (engine_) engine_->play2D(source, false, false, false);
}

void SoundPlayer::playUnlessPlaying(SoundSource* source)
{
    if (engine_ && !engine_->isCurrentlyPlaying(source)) play(source);
}

void SoundPlayer::setMusicVolume(float volume)
{
    if (engine_ && music_) music_->setVolume(volume);
}

void SoundPlayer::startMusic()
{
    if (!engine_) return;
    // Started held and let go once silenced, so that no blip of full-volume
    // music reaches the controls screen before the volume takes effect.
    music_ = engine_->play2D(background_, true, true, true);
    setMusicVolume(0.0f);
    if (music_) music_->setIsPaused(false);
    musicSilenced = true;
}

void SoundPlayer::playMenu() { play(menu_); }

void SoundPlayer::pause()
{
    playMenu();
    setMusicVolume(0.0f);
    musicSilenced = true;
}

void SoundPlayer::resume()
{
    playMenu();
    setMusicVolume(1.0f);
    musicSilenced = false;
}

void SoundPlayer::playButton() { play(button_); }

void SoundPlayer::playJump() { playUnlessPlaying(jump_); }

void SoundPlayer::playFast() { playUnlessPlaying(fast_); }

void SoundPlayer::playCat() { play(cat_); }

bool SoundPlayer::isCatPlaying() { return engine_ && engine_->isCurrentlyPlaying(cat_); }

void SoundPlayer::toggleMute()
{
    if (!engine_) return;
    // Unmuting restores full volume whatever the music is doing.
    engine_->setMasterVolume(muted ? 1.0f : 0.0f);
    muted = !muted;
}

void SoundPlayer::playEnd(bool won)
{
    setMusicVolume(0.0f);
    musicSilenced = true;
    playUnlessPlaying(won ? win_ : lose_);
}

void SoundPlayer::adaptMusic(int catDistance)
{
    if (musicSilenced || !engine_ || !music_) return;
    float speed = 0.97f;
    float volume = 0.6f;
    if (catDistance < 10) {
        speed = 1.03f;
        volume = 0.9f;
    } else if (catDistance < 20) {
        speed = 1.0f;
        volume = 0.7f;
    }
    music_->setPlaybackSpeed(speed);
    music_->setVolume(volume);
}

void SoundPlayer::release()
{
    delete engine_;
    engine_ = nullptr;
    // The sources and the music went with the engine.
    background_ = menu_ = jump_ = button_ = fast_ = win_ = lose_ = cat_ = nullptr;
    music_ = nullptr;
}

} // namespace ruma

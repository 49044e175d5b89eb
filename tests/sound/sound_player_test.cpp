// The game's music and cues, heard on the loopback device: each cue is a tone
// of its own pitch, a whole number of cycles per game frame so that a cue
// started twice adds up instead of cancelling out.
#include "sound/sound_player.h"

#include "sound/sound_engine.h"
#include "support/audio.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

namespace ruma {
namespace {

using namespace ruma::test;

// One frame of the game at 60 fps, in samples.
constexpr int kFrame = kRate / 60;
// Output below this is silence.
constexpr float kSilence = 1e-4f;

// The left channel of interleaved stereo.
std::vector<float> left(const std::vector<float>& stereo)
{
    std::vector<float> out;
    for (size_t i = 0; i < stereo.size(); i += 2) out.push_back(stereo[i]);
    return out;
}

float rms(const std::vector<float>& samples)
{
    return std::sqrt(std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0) / samples.size());
}

float peak(const std::vector<float>& samples)
{
    return samples.empty() ? 0.0f : std::fabs(*std::max_element(samples.begin(), samples.end(), [](float a, float b) {
        return std::fabs(a) < std::fabs(b);
    }));
}

constexpr double kMusicHz = 420.0;
constexpr double kMenuHz = 660.0;
constexpr double kFastHz = 960.0;
constexpr double kWinHz = 600.0;
constexpr double kLoseHz = 300.0;

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        struct Tone { const char* name; double hz; double seconds; int format; };
        for (Tone tone : {Tone{"background.wav", kMusicHz, 2.0, kWav}, Tone{"menu.wav", kMenuHz, 0.05, kWav},
                          Tone{"jump.wav", 540.0, 0.2, kWav}, Tone{"button.wav", 900.0, 0.05, kWav},
                          Tone{"fast.wav", kFastHz, 0.1, kWav}, Tone{"win.mp3", kWinHz, 0.4, kMp3},
                          Tone{"lose.mp3", kLoseHz, 0.3, kMp3}, Tone{"cat.wav", 780.0, 0.5, kWav}})
            ASSERT_TRUE(writeTone(dir.file(std::string("Resources/Sounds/") + tone.name), tone.hz, tone.seconds,
                                  tone.format));
        makePlayer();
    }

    void makePlayer()
    {
        SoundEngine* manual = SoundEngine::createManual(kRate);
        ASSERT_NE(manual, nullptr);
        player = std::make_unique<SoundPlayer>(manual, dir.path() + "/");
        engine = manual;
    }

    std::vector<float> listen(double seconds) { return left(engine->render(static_cast<int>(seconds * kRate))); }

    // Plays from the controls screen into the game with the cat at catDistance,
    // past the menu click.
    void playWithCatAt(int catDistance)
    {
        player->startMusic();
        player->resume();
        player->adaptMusic(catDistance);
        listen(0.1);
    }

    // Runs `frames` game frames calling cue before each; the loudness heard in each frame.
    template <typename Cue>
    std::vector<float> framesOf(int frames, Cue cue)
    {
        std::vector<float> peaks;
        for (int i = 0; i < frames; ++i) {
            cue();
            peaks.push_back(peak(left(engine->render(kFrame))));
        }
        return peaks;
    }

    ScratchDir dir{"sound-player"};
    std::unique_ptr<SoundPlayer> player;
    SoundEngine* engine = nullptr;
};

// Never three silent frames in a row: the cue starts again as soon as it ends.
void expectContinuous(const std::vector<float>& peaks)
{
    for (size_t i = 0; i + 2 < peaks.size(); ++i)
        EXPECT_TRUE(peaks[i] > kSilence || peaks[i + 1] > kSilence || peaks[i + 2] > kSilence) << "frame " << i;
}

TEST_F(SoundPlayerTest, MusicFollowsTheCatsDistance)
{
    player->startMusic();
    ASSERT_NE(player->music(), nullptr);
    EXPECT_TRUE(player->musicSilenced);
    EXPECT_LT(peak(listen(0.3)), kSilence) << "the controls screen hears no music";
    EXPECT_TRUE(player->music()->isPlaying());

    player->resume();
    listen(0.1);
    std::vector<float> resumed = listen(0.5);
    EXPECT_NEAR(frequency(resumed), kMusicHz, 1.0);
    const float full = rms(resumed);
    ASSERT_GT(full, 0.05f);

    struct Band { int distance; double speed; float volume; };
    // Close below 10, far from 20 on.
    for (Band band : {Band{9, 1.03, 0.9f}, Band{10, 1.0, 0.7f}, Band{19, 1.0, 0.7f}, Band{20, 0.97, 0.6f}}) {
        SCOPED_TRACE(band.distance);
        player->adaptMusic(band.distance);
        listen(0.05);
        std::vector<float> heard = listen(0.5);
        EXPECT_NEAR(frequency(heard), kMusicHz * band.speed, 1.0);
        EXPECT_NEAR(rms(heard) / full, band.volume, 0.02f);
    }
}

TEST_F(SoundPlayerTest, PauseAndMuteSilenceTheMusicButKeepItPlaying)
{
    playWithCatAt(15);
    const float playing = rms(listen(0.3));
    ASSERT_GT(playing, 0.05f);

    player->pause();
    EXPECT_NEAR(frequency(listen(0.04)), kMenuHz, 5.0) << "the menu click";
    listen(0.06);
    EXPECT_LT(peak(listen(0.3)), kSilence);
    EXPECT_TRUE(player->music()->isPlaying());
    player->adaptMusic(9);
    EXPECT_LT(peak(listen(0.3)), kSilence) << "the distance does not wake paused music";
    player->resume();
    listen(0.1);
    EXPECT_NEAR(rms(listen(0.3)) / playing, 1.0f / 0.7f, 0.03f) << "full volume until the next play frame";

    // F7 twice: silence, then everything at full volume again.
    player->adaptMusic(15);
    player->toggleMute();
    listen(0.05);
    EXPECT_LT(peak(listen(0.3)), kSilence);
    player->toggleMute();
    EXPECT_FLOAT_EQ(engine->getMasterVolume(), 1.0f);
    listen(0.05);
    EXPECT_NEAR(rms(listen(0.3)) / playing, 1.0f, 0.02f);

    // Muted through a pause: unmuting brings the sound back but not the music.
    player->toggleMute();
    player->pause();
    player->toggleMute();
    EXPECT_FLOAT_EQ(engine->getMasterVolume(), 1.0f);
    listen(0.1);
    EXPECT_LT(peak(listen(0.3)), kSilence);
}

TEST_F(SoundPlayerTest, FastCueRepeatsThroughoutABoostWithoutPilingUp)
{
    std::vector<float> single = framesOf(1, [&] { player->playFast(); });
    framesOf(12, [] {});

    std::vector<float> boost = framesOf(60, [&] { player->playFast(); });
    expectContinuous(boost);
    for (float framePeak : boost) EXPECT_LT(framePeak, single[0] * 1.2f);

    std::vector<float> after = framesOf(12, [] {});
    EXPECT_LT(after.back(), kSilence) << "the cue stops with the boost";

    // The jump cue, like the fast one, does not restart itself while it sounds.
    std::vector<float> jumps = framesOf(6, [&] { player->playJump(); });
    for (float framePeak : jumps) EXPECT_LT(framePeak, jumps[0] * 1.2f);
}

TEST_F(SoundPlayerTest, EndJingleRepeatsWhileTheEndScreenShows)
{
    for (bool won : {false, true}) {
        SCOPED_TRACE(won ? "won" : "lost");
        makePlayer();
        playWithCatAt(9);

        // From the first frame of the end screen the music is silent and the jingle sounds alone.
        std::vector<float> first;
        for (int i = 0; i < 12; ++i) {
            player->playEnd(won);
            std::vector<float> frame = left(engine->render(kFrame));
            if (i >= 2) first.insert(first.end(), frame.begin(), frame.end());
        }
        EXPECT_NEAR(frequency(first), won ? kWinHz : kLoseHz, 2.0);

        // 1.5 s of end screen: several times the jingle's length, never a pause.
        std::vector<float> peaks = framesOf(90, [&] { player->playEnd(won); });
        expectContinuous(peaks);
        for (float framePeak : peaks) EXPECT_LT(framePeak, peak(first) * 1.2f);
        EXPECT_TRUE(player->music()->isPlaying());
    }
}

} // namespace
} // namespace ruma

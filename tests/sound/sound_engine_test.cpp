// The sound engine on OpenAL Soft's loopback device: decoding, voices, and the
// silent fallback without a sound card.
#include "sound/sound_engine.h"

#include "audio_probe.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace ruma {
namespace {

using namespace ruma::test;

TEST(SoundEngine, FilesPlayForTheirLengthWithTheirChannelsAndLevel)
{
    std::unique_ptr<SoundEngine> engine(SoundEngine::createManual(kRate));
    ASSERT_NE(engine, nullptr) << "OpenAL Soft's loopback device is missing";
    ScratchDir dir("sound-engine");
    ASSERT_TRUE(writeTone(dir.file("tone.wav"), 420.0, 0.3, kWav));
    ASSERT_TRUE(writeTone(dir.file("tone.mp3"), 420.0, 0.3, kMp3));
    float wavLevel = 0.0f;
    for (const char* name : {"tone.wav", "tone.mp3"}) {
        SCOPED_TRACE(name);
        SoundSource* source = engine->addSoundSource(dir.file(name));
        EXPECT_EQ(engine->play2D(source, false, false, false), nullptr) << "untracked sounds have no handle";
        const std::vector<float> heard = channel(renderSeconds(*engine, 0.25), 0);
        EXPECT_NEAR(frequency(heard), 420.0, 1.0);
        if (wavLevel == 0.0f) wavLevel = rms(heard);
        EXPECT_TRUE(engine->isCurrentlyPlaying(source));
        renderSeconds(*engine, 0.1);
        EXPECT_FALSE(engine->isCurrentlyPlaying(source));
        EXPECT_LT(peak(renderSeconds(*engine, 0.1)), kSilence);
    }

    // Stereo keeps both channels; a float file sounds as loud as 16 bits.
    ASSERT_TRUE(writeTone(dir.file("stereo.wav"), 300.0, 0.5, kWav, 600.0));
    ASSERT_TRUE(writeTone(dir.file("float.wav"), 300.0, 0.5, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    engine->play2D(engine->addSoundSource(dir.file("stereo.wav")), false, false, false);
    const std::vector<float> stereo = renderSeconds(*engine, 0.4);
    EXPECT_NEAR(frequency(channel(stereo, 0)), 300.0, 1.0);
    EXPECT_NEAR(frequency(channel(stereo, 1)), 600.0, 1.0);
    renderSeconds(*engine, 0.2);
    engine->play2D(engine->addSoundSource(dir.file("float.wav")), false, false, false);
    ASSERT_GT(wavLevel, 0.05f);
    EXPECT_NEAR(rms(channel(renderSeconds(*engine, 0.4), 0)) / wavLevel, 1.0f, 0.02f);
}

TEST(SoundEngine, ACueFiredEveryFrameNeverRunsOutOfVoices)
{
    std::unique_ptr<SoundEngine> engine(SoundEngine::createManual(kRate));
    ASSERT_NE(engine, nullptr);
    ScratchDir dir("sound-voices");
    ASSERT_TRUE(writeTone(dir.file("click.wav"), 900.0, 0.01, kWav));
    SoundSource* click = engine->addSoundSource(dir.file("click.wav"));
    for (int frame = 0; frame < 2000; ++frame) {
        engine->play2D(click, false, false, false);
        engine->render(kFrame);
    }
    engine->play2D(click, false, false, false);
    EXPECT_EQ(engine->playingCount(click), 1);
    EXPECT_GT(peak(engine->render(kFrame)), 0.05f);
}

TEST(SoundEngine, WithoutADeviceTheLoopbackKeepsRealTime)
{
    ScratchDir dir("sound-fallback");
    ASSERT_TRUE(writeTone(dir.file("cue.wav"), 420.0, 0.3, kWav));
    ::testing::internal::CaptureStdout();
    std::unique_ptr<SoundEngine> engine(SoundEngine::create("no such sound card"));
    const std::string said = ::testing::internal::GetCapturedStdout();
    ASSERT_NE(engine, nullptr);
    EXPECT_TRUE(engine->isSilent());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;   // one warning line
    EXPECT_TRUE(engine->render(100).empty()) << "mixed by the clock, not by the caller";

    SoundSource* cue = engine->addSoundSource(dir.file("cue.wav"));
    const auto start = std::chrono::steady_clock::now();
    engine->play2D(cue, false, false, false);
    EXPECT_TRUE(engine->isCurrentlyPlaying(cue));
    while (engine->isCurrentlyPlaying(cue) && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const double lasted = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(lasted, 0.25);
    EXPECT_LT(lasted, 1.5);
}

} // namespace
} // namespace ruma

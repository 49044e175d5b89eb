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

class SoundEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.reset(SoundEngine::createManual(kRate));
        ASSERT_NE(engine, nullptr) << "OpenAL Soft's loopback device is missing";
    }
    ScratchDir dir{"sound-engine"};
    std::unique_ptr<SoundEngine> engine;
};

TEST_F(SoundEngineTest, WavAndMp3PlayForTheirLengthThenStop)
{
    ASSERT_TRUE(writeTone(dir.file("tone.wav"), 420.0, 0.3, kWav));
    ASSERT_TRUE(writeTone(dir.file("tone.mp3"), 420.0, 0.3, kMp3));
    for (const char* name : {"tone.wav", "tone.mp3"}) {
        SCOPED_TRACE(name);
        SoundSource* source = engine->addSoundSource(dir.file(name));
        ASSERT_NE(source->buffer, 0u);
        EXPECT_NEAR(source->seconds, 0.3, 0.03);

        EXPECT_EQ(engine->play2D(source, false, false, false), nullptr) << "untracked sounds have no handle";
        EXPECT_TRUE(engine->isCurrentlyPlaying(source));
        std::vector<float> heard = channel(renderSeconds(*engine, 0.25), 0);
        EXPECT_NEAR(frequency(heard), 420.0, 1.0);
        EXPECT_TRUE(engine->isCurrentlyPlaying(source));
        renderSeconds(*engine, 0.1);
        EXPECT_FALSE(engine->isCurrentlyPlaying(source));
        EXPECT_LT(peak(renderSeconds(*engine, 0.1)), kSilence);
    }
}

TEST_F(SoundEngineTest, StereoAndFloatFilesKeepTheirChannelsAndLevel)
{
    ASSERT_TRUE(writeTone(dir.file("stereo.wav"), 300.0, 0.5, kWav, 600.0));
    ASSERT_TRUE(writeTone(dir.file("float.wav"), 300.0, 0.5, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    ASSERT_TRUE(writeTone(dir.file("pcm.wav"), 300.0, 0.5, kWav));

    engine->play2D(engine->addSoundSource(dir.file("stereo.wav")), false, false, false);
    std::vector<float> stereo = renderSeconds(*engine, 0.4);
    EXPECT_NEAR(frequency(channel(stereo, 0)), 300.0, 1.0);
    EXPECT_NEAR(frequency(channel(stereo, 1)), 600.0, 1.0);
    renderSeconds(*engine, 0.2);

    // A float file must sound as loud as the same tone in 16 bits.
    engine->play2D(engine->addSoundSource(dir.file("pcm.wav")), false, false, false);
    float pcmLevel = rms(channel(renderSeconds(*engine, 0.4), 0));
    renderSeconds(*engine, 0.2);
    engine->play2D(engine->addSoundSource(dir.file("float.wav")), false, false, false);
    float floatLevel = rms(channel(renderSeconds(*engine, 0.4), 0));
    EXPECT_GT(pcmLevel, 0.05f);
    EXPECT_NEAR(floatLevel / pcmLevel, 1.0f, 0.02f);
}

TEST_F(SoundEngineTest, MissingOrUndecodableFilesGiveSourcesThatPlayNothing)
{
    dir.write("garbage.wav", "this is no sound file at all");
    dir.write("empty.mp3", "");
    for (const char* name : {"absent.wav", "garbage.wav", "empty.mp3"}) {
        SCOPED_TRACE(name);
        SoundSource* source = engine->addSoundSource(dir.file(name));
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->buffer, 0u);
        EXPECT_EQ(engine->play2D(source, true, false, true), nullptr);
        engine->play2D(source, false, false, false);
        EXPECT_FALSE(engine->isCurrentlyPlaying(source));
        EXPECT_LT(peak(renderSeconds(*engine, 0.1)), kSilence);
    }
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(SoundEngineTest, ManyShortCuesReuseVoices)
{
    // A cue fired every frame for a long game must not run out of voices.
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

TEST(SoundEngineFallback, WithoutADeviceTheLoopbackKeepsRealTime)
{
    ScratchDir dir("sound-fallback");
    ASSERT_TRUE(writeTone(dir.file("cue.wav"), 420.0, 0.3, kWav));

    ::testing::internal::CaptureStdout();
    std::unique_ptr<SoundEngine> engine(SoundEngine::create("no such sound card"));
    std::string said = ::testing::internal::GetCapturedStdout();
    ASSERT_NE(engine, nullptr);
    EXPECT_TRUE(engine->isSilent());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(engine->render(100).empty()) << "mixed by the clock, not by the caller";

    SoundSource* cue = engine->addSoundSource(dir.file("cue.wav"));
    auto start = std::chrono::steady_clock::now();
    engine->play2D(cue, false, false, false);
    EXPECT_TRUE(engine->isCurrentlyPlaying(cue));
    while (engine->isCurrentlyPlaying(cue) && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    double lasted = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(lasted, 0.25);
    EXPECT_LT(lasted, 1.5);
}

} // namespace
} // namespace ruma

// The sound engine: voices on OpenAL Soft's loopback device, and the silent
// fallback without a sound card. Decoding is heard through the player's tests.
#include "sound/sound_engine.h"

#include "support/audio.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace ruma {
namespace {

using namespace ruma::test;

TEST(SoundEngine, ACueFiredEveryFrameNeverRunsOutOfVoices)
{
    std::unique_ptr<SoundEngine> engine(SoundEngine::createManual(kRate));
    ASSERT_NE(engine, nullptr);
    ScratchDir dir("sound-voices");
    ASSERT_TRUE(writeTone(dir.file("click.wav"), 900.0, 0.01, kWav));
    SoundSource* click = engine->addSoundSource(dir.file("click.wav"));
    for (int frame = 0; frame < 2000; ++frame) {
        engine->play2D(click, false, false, false);
        engine->render(kRate / 60);
    }
    engine->play2D(click, false, false, false);
    EXPECT_EQ(engine->playingCount(click), 1);
    const std::vector<float> heard = engine->render(kRate / 60);
    EXPECT_GT(*std::max_element(heard.begin(), heard.end()), 0.05f);
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

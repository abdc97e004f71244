#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "audio/AudioSystem.h"

namespace {
// A second of 16-bit stereo silence, long enough to still play when looked at.
std::string longWav() {
    const uint32_t bytes = 44100 * 4;
    std::string out = "RIFF";
    auto put32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    auto put16 = [&out](uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    };
    put32(36 + bytes);
    out += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(2);
    put32(44100);
    put32(44100 * 4);
    put16(4);
    put16(16);
    out += "data";
    put32(bytes);
    out += std::string(bytes, '\0');
    return out;
}
} // namespace

TEST(AudioChannels, HaltAskVolumeAndTheLoopingEffectsAroundAPause) {
    ScratchDir dir("channels");
    dir.write("noise.wav", longWav());
    const std::string noise = (dir.path() / "noise.wav").string();
    {
        AudioSystem audio;
        ASSERT_FALSE(audio.failed());
        ASSERT_EQ(audio.loadSound(noise, AudioSystem::Effect), AudioSystem::Loaded);
        EXPECT_FALSE(audio.isPlaying(10));
        EXPECT_EQ(audio.channelVolume(10), -1);
        ASSERT_EQ(audio.playSound(noise, 10, -1, true), 10);
        ASSERT_EQ(audio.playSound(noise, 11, 0), 11);
        EXPECT_TRUE(audio.isPlaying(10));
        EXPECT_EQ(audio.channelVolume(10), 128);
        audio.setChannelVolume(11, 50);
        EXPECT_EQ(audio.channelVolume(11), 50);
        EXPECT_EQ(Mix_Volume(11, -1), 50);
        // Only the looping one pauses and resumes with the pause menu. The mixer marks a pause with
        // the tick count, so a pause at tick 0 (a fresh process) would not count as one.
        while (SDL_GetTicks() == 0)
            SDL_Delay(1);
        audio.pauseLoopingEffects();
        EXPECT_EQ(Mix_Paused(10), 1);
        EXPECT_EQ(Mix_Paused(11), 0);
        audio.resumeLoopingEffects();
        EXPECT_EQ(Mix_Paused(10), 0);
        audio.pauseAll();
        audio.resumeEffects();
        EXPECT_EQ(Mix_Paused(10), 0);
        EXPECT_EQ(Mix_Paused(11), 0);
        audio.haltLoopingEffects();
        EXPECT_FALSE(audio.isPlaying(10));
        EXPECT_EQ(audio.channelVolume(10), -1); // the handler cleared its record
        EXPECT_TRUE(audio.isPlaying(11));
        audio.haltChannel(11);
        EXPECT_FALSE(audio.isPlaying(11));
        // Channels outside the table are ignored.
        audio.haltChannel(-1);
        audio.haltChannel(500);
        EXPECT_FALSE(audio.isPlaying(500));
        EXPECT_EQ(audio.channelVolume(-1), -1);
    }
    SDL_Quit();
}

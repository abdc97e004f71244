#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

#include "TestSupport.h"
#include "audio/AudioSystem.h"
#include "audio/MusicList.h"
#include "base/FrameClock.h"

namespace {
// The four tracks of `key` joined by "|", or "-" when the list holds no whole block for it.
std::string findIn(const std::string& list, const std::string& key) {
    std::array<std::string, 4> t;
    if (!MusicList::find(reinterpret_cast<const uint8_t*>(list.data()), list.size(), key, t)) return "-";
    return t[0] + "|" + t[1] + "|" + t[2] + "|" + t[3];
}

// A silent WAV, `ms` long: RIFF, WAVE, "fmt " of 16 bytes, PCM in 2 channels at 44100 Hz, 4-byte
// frames of 16 bits, then the data (the header in little-endian words).
std::string wav(uint32_t ms) {
    const uint32_t bytes = 44100 * ms / 1000 * 4;
    const uint32_t header[] = {0x46464952, 36 + bytes, 0x45564157, 0x20746D66, 16,   0x00020001,
                               44100,      44100 * 4,  0x00100004, 0x61746164, bytes};
    return std::string(reinterpret_cast<const char*>(header), sizeof header) + std::string(bytes, '\0');
}

// Waits on the real clock for the mixer thread; the dummy driver plays in real time.
template <class Condition> bool waitFor(Condition condition) {
    const uint32_t until = SDL_GetTicks() + 3000;
    while (SDL_GetTicks() < until && !condition())
        SDL_Delay(2);
    return condition();
}

class Audio : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"intro.60", "layer1.400", "layer2.400", "blip.30", "long.1000", "tick.5"})
            dir.write(name, wav(std::stoi(std::strchr(name, '.') + 1)));
        audio = std::make_unique<AudioSystem>();
        ASSERT_FALSE(audio->failed());
        frameDeltaMs = 16;
        // The mixer marks a pause with the tick count, so a pause at tick 0 would not hold.
        while (SDL_GetTicks() == 0)
            SDL_Delay(1);
    }
    void TearDown() override {
        audio.reset();
        SDL_Quit();
    }
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
    // Selects `key` from a list where it has `intro`, two layers and no third.
    void select(const std::string& key, const std::string& intro, const std::string& selected = "") {
        const std::string list = "OTHER\n" + path("blip.30") + "\n#\n#\n#\n" + key + "\n" + intro + "\n" +
                                 path("layer1.400") + "\n" + path("layer2.400") + "\n#\n";
        audio->selectMusicFromList(reinterpret_cast<const uint8_t*>(list.data()), list.size(),
                                   selected.empty() ? key : selected, true);
    }
    int track(int k) const { return audio->musicState().trackChannel[k]; }

    ScratchDir dir{"audio"};
    std::unique_ptr<AudioSystem> audio;
};
} // namespace

TEST(MusicList, BlocksKeysAndShortEndings) {
    const std::string list = "# our music\nMAIN\na\n#\nb\nc\nGAME\n#\nd\ne\n#\nMAIN\na2\nb2\n#\nc2\n";
    const std::string longKey(300, 'k'), piece(255, 'x');
    // A later block of the same key wins; a CR LF key line names another key; the last line may lack
    // its line feed; lines are read in 255-byte pieces: a longer key line never matches, and a long
    // track name is cut into a track and the next line.
    const std::array<std::string, 3> cases[] = {{list, "GAME", "#|d|e|#"},
                                                {list, "MAIN", "a2|b2|#|c2"},
                                                {list, "MAI", "-"},
                                                {"WIN\r\na\nb\nc\nd\n", "WIN", "-"},
                                                {"WIN\na\nb\nc\nd", "WIN", "a|b|c|d"},
                                                {longKey + "\na\nb\nc\nd\n", longKey, "-"},
                                                {"K\n" + piece + "yy\nb\nc\nd\n", "K", piece + "|yy|b|c"}};
    for (const auto& [bytes, key, tracks] : cases)
        EXPECT_EQ(findIn(bytes, key), tracks) << key;
    // A key followed by fewer than four track lines is no block; an earlier whole one stays.
    for (const std::string cut : {"WIN\n", "WIN\na\n", "WIN\na\nb\n", "WIN\na\nb\nc\n"}) {
        EXPECT_EQ(findIn(cut, "WIN"), "-") << cut;
        EXPECT_EQ(findIn("WIN\n1\n2\n3\n4\n" + cut, "WIN"), "1|2|3|4") << cut;
    }
}

TEST_F(Audio, EffectsLoadOncePlayOutsideTheReservedChannelsAndPauseByKind) {
    EXPECT_EQ(audio->loadSound(path("blip.30"), AudioSystem::Effect), AudioSystem::Loaded);
    EXPECT_EQ(audio->loadSound(path("blip.30"), AudioSystem::Effect), AudioSystem::AlreadyLoaded);
    testing::internal::CaptureStderr();
    EXPECT_EQ(audio->playSound("Sound/none.wav", -1, 0), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("Error when loading sound: Sound/none.wav: ", 0),
              0u);

    audio->effectVolume = 70;
    const int any = audio->playSound(path("blip.30"), -1, 0);
    EXPECT_EQ(Mix_Volume(any, -1), 70);
    ASSERT_EQ(audio->playSound(path("long.1000"), 10, -1, true), 10); // the looping brush noise
    ASSERT_EQ(audio->playSound(path("long.1000"), 11, 0, false, true), 11);
    audio->setChannelVolume(11, 50);
    EXPECT_EQ(Mix_Volume(11, -1), 50);
    // Focus loss pauses all but the channels told to keep on; the pause menu only the looping ones,
    // and its way back resumes the effects, not the music.
    const auto paused = [&] { return Mix_Paused(10) * 10 + Mix_Paused(11); };
    audio->pauseAll();
    EXPECT_TRUE(Mix_Paused(any) || !Mix_Playing(any));
    EXPECT_EQ(paused(), 10);
    audio->resumeAll();
    EXPECT_EQ(paused() + Mix_Paused(any), 0);
    audio->pauseLoopingEffects();
    EXPECT_EQ(paused(), 10);
    audio->resumeLoopingEffects();
    audio->pauseAll();
    audio->resumeEffects();
    EXPECT_EQ(paused(), 0);

    // The finished handler frees the record when the short sound ends on the mixer thread.
    EXPECT_TRUE(waitFor([&] { return audio->channelState(any).soundName.empty(); }));
    EXPECT_EQ(audio->channelState(any).volume, -1);
    audio->haltLoopingEffects();
    EXPECT_TRUE(!audio->isPlaying(10) && audio->channelVolume(10) == -1 && audio->isPlaying(11));
    audio->haltChannel(11);
    audio->haltChannel(500); // outside the table: ignored
    EXPECT_FALSE(audio->isPlaying(11));
    // 128 mixing channels, 0-89 reserved: the 38 free ones are 90-127, and a 39th request for any
    // channel gets none rather than a reserved one.
    EXPECT_EQ(Mix_AllocateChannels(-1), 128);
    std::set<int> taken;
    for (int i = 0; i < 39; ++i)
        taken.insert(audio->playSound(path("long.1000"), -1, 0));
    EXPECT_EQ(taken.size(), 39u);
    EXPECT_EQ(*taken.begin() + *std::next(taken.begin()) + *taken.rbegin(), -1 + 90 + 127);
}

// The intro plays first; the finished handler then starts the layers (a "#" layer stays silent),
// scaled by the music volume, and the set runs until its last layer halts.
TEST_F(Audio, IntroLayersAndVolumes) {
    select("GAME", path("intro.60"));
    audio->musicVolume = 96;
    EXPECT_FALSE(audio->startMusic(128, 64));
    const ChannelState intro = audio->channelState(track(0));
    EXPECT_TRUE(track(0) >= 90 && intro.isMusic && !intro.looping && intro.volume == 96 &&
                !audio->musicState().layersStarted);
    ASSERT_TRUE(waitFor([&] { return audio->musicState().layersStarted; }));
    EXPECT_EQ(track(0) + track(3), -2);
    for (int k = 1; k <= 2; ++k)
        EXPECT_TRUE(track(k) >= 90 && audio->channelState(track(k)).looping && Mix_Playing(track(k)));
    EXPECT_EQ(Mix_Volume(track(1), -1) * 1000 + Mix_Volume(track(2), -1), 96048);
    const int second = track(2);
    Mix_HaltChannel(track(1));
    EXPECT_TRUE(audio->musicState().layersRunning);
    Mix_HaltChannel(second);
    EXPECT_FALSE(audio->musicState().layersRunning);

    // No intro: the layers start at once and follow the music volume. An unknown key keeps the
    // tracks but takes the key.
    select("LOOP2", "#");
    EXPECT_TRUE(audio->startMusic(128, 90));
    ASSERT_GE(track(2), 0);
    EXPECT_EQ(audio->channelState(track(2)).volume, 67); // 90 x 96 / 128
    audio->musicVolume = 64;
    audio->applyMusicVolume();
    EXPECT_EQ(Mix_Volume(track(1), -1) * 1000 + Mix_Volume(track(2), -1), 64045);
    select("LOOP2", "#", "NOPE");
    EXPECT_EQ(audio->musicState().musicKey + " " + audio->musicState().trackNames[1],
              "NOPE " + path("layer1.400"));
}

// 128 in steps of 5 every frame reaches 0 after 26 steps; the next frame sees silence and stops.
TEST_F(Audio, FadeOutAndMutedMusic) {
    audio->musicVolume = 128;
    select("WIN", "#");
    audio->startMusic(128, 40);
    const int layer1 = track(1);
    audio->stopMusic(true);
    audio->update();
    EXPECT_EQ(audio->channelState(layer1).volume, 123);
    int frames = 1;
    for (; audio->musicState().musicKey != "NONE" && frames < 100; ++frames)
        audio->update();
    EXPECT_TRUE(frames == 27 && !Mix_Playing(layer1)) << frames;
    // Muted music goes to volume 0 at the next step, and fades out at once instead of never.
    select("WIN", "#");
    audio->startMusic(128, 40);
    audio->musicVolume = 0;
    audio->update();
    EXPECT_EQ(audio->channelState(track(1)).volume, 0);
    audio->stopMusic(true);
    audio->update();
    EXPECT_EQ(audio->musicState().musicKey, "NONE");
}

// Short sounds end on the mixer's thread while the main thread keeps changing a volume: finishes
// that find the records taken wait and are applied by the main thread, never lost.
TEST_F(Audio, FinishesWhileVolumesChangeAreApplied) {
    const int loop = audio->playSound(path("long.1000"), -1, -1, true);
    for (int burst = 0; burst < 10; ++burst) {
        int played = 0;
        while (audio->playSound(path("tick.5"), -1, 0) >= 0)
            ++played;
        // Every free channel taken (more when a slow build lets some end before the last is taken).
        EXPECT_GE(played, 37);
        for (const uint32_t until = SDL_GetTicks() + 40; SDL_GetTicks() < until;)
            audio->setChannelVolume(loop, static_cast<int32_t>(SDL_GetTicks() % 128));
        EXPECT_TRUE(waitFor([&] {
            for (int ch = 90; ch < 128; ++ch)
                if (ch != loop && !audio->channelState(ch).soundName.empty()) return false;
            return true;
        })) << "burst "
            << burst;
    }
    EXPECT_EQ(audio->channelState(loop).soundName, path("long.1000"));
}

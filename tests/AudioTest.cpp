#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

#include "TestSupport.h"
#include "audio/AudioSystem.h"
#include "audio/MusicList.h"
#include "base/FrameClock.h"

namespace {
// Every test in this binary runs without a sound card; a driver named from outside still wins.
const bool kDummyAudio = setenv("SDL_AUDIODRIVER", "dummy", 0) == 0;

std::array<std::string, 4> findIn(const std::string& list, const std::string& key, bool* found = nullptr) {
    std::array<std::string, 4> tracks = {"?", "?", "?", "?"};
    const bool ok = MusicList::find(reinterpret_cast<const uint8_t*>(list.data()), list.size(), key, tracks);
    if (found) *found = ok;
    return tracks;
}

// A silent 16-bit stereo WAV at the mixer's rate, `ms` long (little-endian header words).
std::string wav(uint32_t ms) {
    const uint32_t bytes = 44100 * ms / 1000 * 4;
    const uint32_t header[] = {0x46464952 /* RIFF */,
                               36 + bytes,
                               0x45564157 /* WAVE */,
                               0x20746D66 /* fmt */,
                               16,
                               0x00020001 /* PCM, 2 channels */,
                               44100,
                               44100 * 4,
                               0x00100004 /* 4-byte frames of 16 bits */,
                               0x61746164 /* data */,
                               bytes};
    return std::string(reinterpret_cast<const char*>(header), sizeof header) + std::string(bytes, '\0');
}

// Waits on the real clock for the mixer thread; the dummy driver plays in real time.
template <class Condition> bool waitFor(Condition condition, uint32_t ms = 3000) {
    const uint32_t until = SDL_GetTicks() + ms;
    while (SDL_GetTicks() < until) {
        if (condition()) return true;
        SDL_Delay(2);
    }
    return condition();
}

class Audio : public testing::Test {
  protected:
    void SetUp() override {
        dir.write("intro.wav", wav(60));
        dir.write("layer1.wav", wav(400));
        dir.write("layer2.wav", wav(400));
        dir.write("blip.wav", wav(30));
        audio = std::make_unique<AudioSystem>();
        ASSERT_FALSE(audio->failed());
        frameDeltaMs = 16;
    }
    void TearDown() override {
        audio.reset();
        SDL_Quit();
    }
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
    // Intro, two layers, no third.
    std::string list(const std::string& key, const std::string& intro) const {
        return "OTHER\n" + path("blip.wav") + "\n#\n#\n#\n" + key + "\n" + intro + "\n" + path("layer1.wav") +
               "\n" + path("layer2.wav") + "\n#\n";
    }
    void select(const std::string& text, const std::string& key, bool unload = true) {
        audio->selectMusicFromList(reinterpret_cast<const uint8_t*>(text.data()), text.size(), key, unload);
    }

    ScratchDir dir{"audio"};
    std::unique_ptr<AudioSystem> audio;
};
} // namespace

TEST(MusicList, BlocksKeysAndShortEndings) {
    const std::string list = "# our music\nMAIN\nSound/a.ogg\n#\nSound/b.ogg\nSound/c.ogg\n"
                             "GAME\n#\nSound/d.ogg\nSound/e.ogg\n#\n"
                             "MAIN\nSound/a2.ogg\nSound/b2.ogg\n#\nSound/c2.ogg\n";
    bool found = false;
    EXPECT_EQ(findIn(list, "GAME", &found),
              (std::array<std::string, 4>{"#", "Sound/d.ogg", "Sound/e.ogg", "#"}));
    EXPECT_TRUE(found);
    // A later block of the same key wins.
    EXPECT_EQ(findIn(list, "MAIN")[0], "Sound/a2.ogg");
    findIn(list, "MAI", &found);
    EXPECT_FALSE(found);
    findIn(list, "WIN", &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(findIn(list, "WIN")[0], "?") << "tracks untouched when nothing matched";

    // A key line ending in CR LF names another key.
    findIn("WIN\r\na\nb\nc\nd\n", "WIN", &found);
    EXPECT_FALSE(found);
    // The last line may lack its line feed without losing a letter.
    EXPECT_EQ(findIn("WIN\na\nb\nc\nSound/d.ogg", "WIN", &found)[3], "Sound/d.ogg");
    EXPECT_TRUE(found);
    // A key followed by fewer than four track lines is no block; an earlier whole one stays.
    for (const std::string cut : {"WIN\n", "WIN\na\n", "WIN\na\nb\n", "WIN\na\nb\nc\n"}) {
        findIn(cut, "WIN", &found);
        EXPECT_FALSE(found) << cut;
        EXPECT_EQ(findIn("WIN\n1\n2\n3\n4\n" + cut, "WIN", &found)[0], "1") << cut;
        EXPECT_TRUE(found);
    }
    // Lines are read in 255-byte pieces: a longer key line is two pieces and never matches,
    // and a long track name is cut into a track and the next line.
    const std::string longName(300, 'k');
    findIn(longName + "\na\nb\nc\nd\n", longName, &found);
    EXPECT_FALSE(found);
    const auto cut = findIn("K\n" + std::string(255, 'x') + "yy\nb\nc\nd\n", "K");
    EXPECT_EQ(cut[0], std::string(255, 'x'));
    EXPECT_EQ(cut[1], "yy");
    EXPECT_EQ(cut[3], "c");
}

TEST_F(Audio, LoadsOnceReportsMissingSoundsAndPlaysOutsideTheReservedChannels) {
    EXPECT_EQ(audio->loadSound(path("blip.wav"), AudioSystem::Effect), AudioSystem::Loaded);
    EXPECT_EQ(audio->loadSound(path("blip.wav"), AudioSystem::Effect), AudioSystem::AlreadyLoaded);
    EXPECT_FALSE(audio->isLoaded(path("blip.wav"), AudioSystem::Music));
    EXPECT_TRUE(audio->isLoaded("anything", 7));
    testing::internal::CaptureStderr();
    EXPECT_EQ(audio->loadSound("Sound/none.wav", AudioSystem::Effect), AudioSystem::Failed);
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("Error when loading sound: Sound/none.wav: ", 0),
              0u);
    testing::internal::CaptureStderr();
    EXPECT_EQ(audio->playSound("Sound/none.wav", -1, 0), -1);
    testing::internal::GetCapturedStderr();

    audio->effectVolume = 70;
    const int any = audio->playSound(path("blip.wav"), -1, 0);
    EXPECT_GE(any, AudioSystem::kReservedChannels);
    EXPECT_EQ(audio->channelState(any).volume, 70);
    EXPECT_EQ(Mix_Volume(any, -1), 70);
    EXPECT_EQ(audio->channelState(any).soundName, path("blip.wav"));
    const int fixed = audio->playSound(path("blip.wav"), 11, -1, true, true);
    EXPECT_EQ(fixed, 11);
    EXPECT_TRUE(audio->channelState(11).looping);

    // Focus loss pauses all but the channels told to keep on. The mixer marks a pause with the
    // tick count, so a pause in SDL's very first millisecond would not hold.
    while (SDL_GetTicks() == 0)
        SDL_Delay(1);
    audio->pauseAll();
    EXPECT_TRUE(Mix_Paused(any) || !Mix_Playing(any));
    EXPECT_FALSE(Mix_Paused(11));
    audio->resumeAll();
    EXPECT_FALSE(Mix_Paused(any));

    // The finished handler frees the record when the short sound ends on the mixer thread.
    EXPECT_TRUE(waitFor([&] { return audio->channelState(any).volume == -1; }));
    EXPECT_TRUE(audio->channelState(any).soundName.empty());
    // The looping brush noise stops only when asked.
    EXPECT_EQ(audio->channelState(11).soundName, path("blip.wav"));
    audio->stopLoopingEffects();
    EXPECT_FALSE(Mix_Playing(11));
    EXPECT_EQ(audio->channelState(11).volume, -1);

    // 128 mixing channels, 0-89 reserved: the 38 free ones are 90-127, and a 39th request for any
    // channel gets none rather than a reserved one.
    EXPECT_EQ(Mix_AllocateChannels(-1), 128);
    ASSERT_EQ(audio->loadSound(path("layer1.wav"), AudioSystem::Effect), AudioSystem::Loaded);
    std::set<int> taken;
    for (int i = 0; i < 38; ++i) {
        const int channel = audio->playSound(path("layer1.wav"), -1, 0);
        EXPECT_TRUE(channel >= 90 && channel <= 127) << channel;
        taken.insert(channel);
    }
    EXPECT_EQ(taken.size(), 38u);
    testing::internal::CaptureStderr();
    EXPECT_EQ(audio->playSound(path("layer1.wav"), -1, 0), -1);
    testing::internal::GetCapturedStderr();
}

TEST_F(Audio, IntroThenLayersStartedByTheFinishedHandler) {
    select(list("GAME", path("intro.wav")), "GAME");
    audio->musicVolume = 96; // the layers the finished handler starts are scaled by it
    MusicPlayer music = audio->musicState();
    EXPECT_EQ(music.musicKey, "GAME");
    EXPECT_EQ(music.trackNames[0], path("intro.wav"));
    EXPECT_TRUE(music.trackNames[3].empty());
    EXPECT_TRUE(audio->isLoaded(path("layer2.wav"), AudioSystem::Music));

    EXPECT_FALSE(audio->startMusic(128, 64));
    music = audio->musicState();
    const int intro = music.trackChannel[0];
    ASSERT_GE(intro, AudioSystem::kReservedChannels);
    EXPECT_TRUE(music.introStarted);
    EXPECT_FALSE(music.layersStarted);
    ChannelState record = audio->channelState(intro);
    EXPECT_TRUE(record.isMusic);
    EXPECT_FALSE(record.looping);
    EXPECT_EQ(record.volume, 96);

    ASSERT_TRUE(waitFor([&] { return audio->musicState().layersStarted; }));
    music = audio->musicState();
    EXPECT_EQ(music.trackChannel[0], -1);
    EXPECT_TRUE(music.layersRunning);
    ASSERT_GE(music.trackChannel[1], AudioSystem::kReservedChannels);
    ASSERT_GE(music.trackChannel[2], AudioSystem::kReservedChannels);
    EXPECT_EQ(music.trackChannel[3], -1) << "the third layer is '#'";
    for (int k = 1; k <= 2; ++k) {
        record = audio->channelState(music.trackChannel[k]);
        EXPECT_TRUE(record.isMusic);
        EXPECT_TRUE(record.looping);
        EXPECT_TRUE(Mix_Playing(music.trackChannel[k]));
    }
    EXPECT_EQ(Mix_Volume(music.trackChannel[1], -1), 96);
    EXPECT_EQ(Mix_Volume(music.trackChannel[2], -1), 48);
    EXPECT_EQ(audio->channelState(music.trackChannel[2]).volume, 48);

    // Halting the layers one by one: the set runs until the last one goes.
    Mix_HaltChannel(music.trackChannel[1]);
    EXPECT_TRUE(audio->musicState().layersRunning);
    EXPECT_EQ(audio->channelState(music.trackChannel[1]).volume, -1);
    Mix_HaltChannel(music.trackChannel[2]);
    EXPECT_FALSE(audio->musicState().layersRunning);
}

TEST_F(Audio, NoIntroStartsLoopingLayersAtOnceAndVolumesFollow) {
    select(list("LOOP2", "#"), "LOOP2");
    EXPECT_TRUE(audio->startMusic(128, 90));
    MusicPlayer music = audio->musicState();
    EXPECT_EQ(music.trackChannel[0], -1);
    ASSERT_GE(music.trackChannel[1], 0);
    ASSERT_GE(music.trackChannel[2], 0);
    EXPECT_EQ(audio->channelState(music.trackChannel[2]).volume, 90);

    audio->musicVolume = 64;
    audio->applyMusicVolume();
    EXPECT_EQ(audio->channelState(music.trackChannel[1]).volume, 64);
    EXPECT_EQ(Mix_Volume(music.trackChannel[2], -1), 45);
    audio->musicVolume = 0;
    audio->update();
    EXPECT_EQ(audio->channelState(music.trackChannel[1]).volume, 0);

    // An unknown key keeps the tracks but takes the key; the same key keeps loaded tracks.
    select(list("LOOP2", "#"), "NOPE");
    EXPECT_EQ(audio->musicState().musicKey, "NOPE");
    EXPECT_EQ(audio->musicState().trackNames[1], path("layer1.wav"));
}

TEST_F(Audio, FadeOutStepsEveryFrameUntilSilentThenStops) {
    select(list("WIN", "#"), "WIN");
    audio->startMusic(128, 40);
    const int layer1 = audio->musicState().trackChannel[1];
    ASSERT_GE(layer1, 0);
    frameDeltaMs = 16;
    audio->stopMusic(true);
    MusicPlayer music = audio->musicState();
    EXPECT_TRUE(music.fadingOut);
    EXPECT_EQ(music.fadeInterval, 0u);
    EXPECT_EQ(music.fadeStep, 5u);
    audio->update();
    EXPECT_EQ(audio->musicState().trackVolume[1], 123);
    EXPECT_EQ(audio->channelState(layer1).volume, 123);
    int frames = 1;
    while (audio->musicState().musicKey != "NONE" && frames < 100) {
        audio->update();
        ++frames;
    }
    // 128 in steps of 5 reaches 0 after 26 steps; the next frame sees silence and stops.
    EXPECT_EQ(frames, 27);
    EXPECT_FALSE(Mix_Playing(layer1));
    EXPECT_EQ(audio->channelState(layer1).volume, -1);

    // Muted music fades out at once instead of never.
    select(list("WIN", "#"), "WIN");
    audio->startMusic(128, 40);
    audio->musicVolume = 0;
    audio->stopMusic(true);
    audio->update();
    EXPECT_EQ(audio->musicState().musicKey, "NONE");
}

TEST(AudioDevice, FailureToOpenIsReportedNotFatal) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    {
        AudioSystem audio;
        EXPECT_TRUE(audio.failed());
        EXPECT_EQ(audio.playSound("Sound/chof.wav", -1, 0), -1);
    }
    const std::string message = testing::internal::GetCapturedStderr();
    if (before)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(message.rfind("Error when inititalizing AUDIO SDL:", 0), 0u) << message;
    SDL_Quit();
}

// Our own music list and every track it names, once the sounds are in the source tree.
TEST(ShippedMusic, EveryKeyHasFourTrackLinesThatLoad) {
    const std::filesystem::path data = std::filesystem::path(VOV_SOURCE_DIR) / "data";
    ScratchDir scratch("music");
    const std::string list = [&] {
        std::ifstream in(data / "Sound" / "levels.bgm", std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }();
    if (list.empty()) GTEST_SKIP() << "data/Sound/levels.bgm is not made yet";
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(data);
    {
        AudioSystem audio;
        ASSERT_FALSE(audio.failed());
        for (const char* key : {"MAIN", "GAME", "WIN", "GAMEOVER", "LOOP0", "LOOP1", "LOOP2", "LOOP3"}) {
            bool found = false;
            const auto tracks = findIn(list, key, &found);
            EXPECT_TRUE(found) << key;
            for (const std::string& track : tracks) {
                // Every key has its intro and all three layers.
                EXPECT_NE(track, "#") << key;
                if (track == "#") continue;
                EXPECT_NE(audio.loadSound(track, AudioSystem::Music), AudioSystem::Failed)
                    << key << " " << track;
            }
        }
    }
    std::filesystem::current_path(here);
    SDL_Quit();
}

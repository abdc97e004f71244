#pragma once
// AudioSystem — the mixer, its channels, every loaded sound and the layered music player.
//
// Owns: the SDL_mixer device (44100 Hz, 128 channels, 0-89 reserved for fixed uses), the music
// and effect tables, one record per channel, both volumes, the music tracks of the chosen key.
// Never: throws, or decodes while playing (sounds are decoded once when loaded).
// On failure: a device that cannot open writes its message and leaves failed() true (the entry
// point ends with 1); a sound that cannot load writes its message and plays nothing; with no free
// channel a play returns -1 and changes nothing.
//
// The mixer's thread calls onChannelFinished, which clears records and starts the music layers.
// Records and music state live under one recursive mutex of our own. The handler only ever tries
// it: the main thread may hold it while it waits for the mixer inside a mixer call, so a handler
// that finds it taken leaves the finish (channel and which start it ends) in lock-free slots, and
// whoever releases the mutex last applies it. Nothing depends on finding the mixer's device.
#include <SDL.h>
#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

struct Mix_Chunk;

struct ChannelState {
    int32_t volume = -1;     // last volume sent to the mixer; -1 when free
    int32_t baseVolume = -1; // 128 while playing
    bool looping = false;
    bool isMusic = false;
    bool keepOnPause = false;
    std::string soundName;
    int32_t x = -1, y = -1;
};

// The tracks of the chosen music key and how far they have got.
struct MusicPlayer {
    std::array<std::string, 4> trackNames; // 0 the intro, 1-3 the layers
    std::string musicKey = "NONE";
    std::array<int32_t, 4> trackChannel = {-1, -1, -1, -1};
    // Which start on that channel the track is: a late finish of an older sound must not end it.
    std::array<uint32_t, 4> trackStart = {0, 0, 0, 0};
    std::array<int32_t, 4> trackVolume = {0, 0, 0, 0};
    std::array<int32_t, 4> trackTarget = {0, 0, 0, 0};
    uint32_t fadeInterval = 5;
    uint32_t fadeStep = 2;
    uint32_t fadeTimer = 0;
    bool fadingOut = false;
    bool introStarted = false;
    bool layersStarted = false;
    bool layersRunning = false;
    bool loopLayers = false;
};

class AudioSystem final {
  public:
    static constexpr int kChannelCount = 128;
    static constexpr int kReservedChannels = 90;
    enum Kind { Music = 0, Effect = 1 };
    enum LoadResult { Loaded = 0, Failed = 1, AlreadyLoaded = 3 };

    AudioSystem();
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // The audio subsystem or the mixer would not open; the message is already written.
    bool failed() const { return failed_; }

    int loadSound(const std::string& name, int kind);
    void unloadSound(const std::string& name, int kind);
    bool isLoaded(const std::string& name, int kind) const;
    Mix_Chunk* getEffect(const std::string& name);
    Mix_Chunk* getMusicSound(const std::string& name);

    // channel -1 takes any free channel from 90 up; loops 0 once, -1 forever. Returns the channel
    // or -1.
    int playSound(const std::string& name, int channel, int loops, bool looping = false,
                  bool keepOnPause = false);
    int playMusicTrack(const std::string& name, int loops);

    // Reads "Sound/levels.bgm" from the pack; a missing list changes nothing.
    void selectMusic(const std::string& key, bool unloadPrevious);
    // The same from list bytes already in memory.
    void selectMusicFromList(const uint8_t* data, size_t size, const std::string& key, bool unloadPrevious);
    bool startMusic(int32_t introVolume, int32_t layer2Volume);
    void stopMusic(bool fade);
    void applyMusicVolume();
    void stopLoopingEffects();
    void update();
    void pauseAll();
    void resumeAll();

    // One channel: halted (its record cleared by the handler), asked whether it plays, its volume
    // set (0-128) or read (-1 when free). Channels outside the table do nothing and answer false/-1.
    void haltChannel(int channel);
    bool isPlaying(int channel) const;
    void setChannelVolume(int channel, int32_t volume);
    int32_t channelVolume(int channel) const;
    // Looping effects (not music): halted for good, or paused and resumed around a menu laid over
    // the level.
    void haltLoopingEffects();
    void pauseLoopingEffects();
    void resumeLoopingEffects();
    // Resumes every effect channel in use that is not kept on pause (the level's return from its
    // pause menu); music is left as it is.
    void resumeEffects();

    // Mixer thread (and any halt on the main thread) — do not call from elsewhere.
    void onChannelFinished(int channel);

    // Copies taken under the lock, for callers that only look; they apply waiting finishes first.
    ChannelState channelState(int channel) const;
    MusicPlayer musicState() const;
    bool isMusicChannel(int channel) const;

    std::string musicListName = "Sound/levels.bgm";
    // 0-128; the options set them, clamping at 128, and the mixer thread reads the music one.
    std::atomic<uint8_t> musicVolume{128};
    std::atomic<uint8_t> effectVolume{128};

  private:
    class Lock;
    // Records a start of ours on the channel (under the mutex) and returns its number.
    uint32_t noteStart(int channel);
    void finishChannel(int channel, uint32_t start);
    void applyWaitingFinishes();
    void setVolume(int channel, int32_t volume);
    void clearRecord(int channel);
    void resetMusic();
    Mix_Chunk* chunkOf(const std::string& name, int kind) const;

    bool failed_ = false;
    bool audioStartedHere_ = false;
    bool mixerOpen_ = false;
    std::recursive_mutex recordsMutex_;
    int lockDepth_ = 0; // only touched with recordsMutex_ held
    // Finishes the handler could not apply: one bit per channel, and the start each one ended.
    std::array<std::atomic<uint64_t>, kChannelCount / 64> waitingFinish_{};
    std::array<std::atomic<uint32_t>, kChannelCount> finishedStart_{};
    std::array<std::atomic<uint32_t>, kChannelCount> startCount_{};
    std::map<std::string, Mix_Chunk*> tables_[2];
    std::array<ChannelState, kChannelCount> channels_;
    MusicPlayer music_;
};

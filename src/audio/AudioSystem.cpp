#include "audio/AudioSystem.h"

#include <SDL_mixer.h>
#include <algorithm>
#include <iostream>

#include "assets/AssetPack.h"
#include "audio/MusicList.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"

namespace {
AudioSystem* finishedTarget = nullptr;

void channelFinished(int channel) {
    if (finishedTarget) finishedTarget->onChannelFinished(channel);
}

bool validChannel(int channel) {
    return channel >= 0 && channel < AudioSystem::kChannelCount;
}
} // namespace

// Held around every read or change of the records. The outermost holder applies the finishes
// the handler left while the mutex was taken, on the way in (so readers see them) and on the way
// out (so a finished intro starts its layers without waiting for the next call). Readers are
// const, but bringing the records up to date is not a change anybody can see.
class AudioSystem::Lock final {
  public:
    explicit Lock(const AudioSystem* audio) : Lock(const_cast<AudioSystem*>(audio), false) {}
    Lock(AudioSystem* audio, bool alreadyLocked) : audio_(audio) {
        if (!alreadyLocked) audio_->recordsMutex_.lock();
        if (audio_->lockDepth_++ == 0) audio_->applyWaitingFinishes();
    }
    ~Lock() {
        if (audio_->lockDepth_ == 1) audio_->applyWaitingFinishes();
        --audio_->lockDepth_;
        audio_->recordsMutex_.unlock();
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    AudioSystem* audio_;
};

AudioSystem::AudioSystem() {
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::cerr << "Error when inititalizing AUDIO SDL:" << SDL_GetError() << std::endl;
            failed_ = true;
            return;
        }
        audioStartedHere_ = true;
    }
    if (Mix_OpenAudio(44100, 0x8010, 2, 1024) != 0) {
        std::cerr << "Error when inititalizing SDL MIXER:" << SDL_GetError() << std::endl;
        failed_ = true;
        return;
    }
    mixerOpen_ = true;
    Mix_AllocateChannels(kChannelCount);
    Mix_ReserveChannels(kReservedChannels);
    stopLoopingEffects();
    finishedTarget = this;
    Mix_ChannelFinished(&channelFinished);
}

AudioSystem::~AudioSystem() {
    if (mixerOpen_) {
        // Halting calls the handler, which must not reach a half-destroyed object.
        Mix_ChannelFinished(nullptr);
        if (finishedTarget == this) finishedTarget = nullptr;
        Mix_HaltChannel(-1);
    }
    for (auto& table : tables_) {
        for (auto& [name, chunk] : table)
            Mix_FreeChunk(chunk);
        table.clear();
    }
    if (mixerOpen_) Mix_CloseAudio();
    if (audioStartedHere_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

Mix_Chunk* AudioSystem::chunkOf(const std::string& name, int kind) const {
    if (kind != Music && kind != Effect) return nullptr;
    const auto found = tables_[kind].find(name);
    return found == tables_[kind].end() ? nullptr : found->second;
}

bool AudioSystem::isLoaded(const std::string& name, int kind) const {
    if (kind != Music && kind != Effect) return true;
    Lock lock(this);
    return tables_[kind].count(name) != 0;
}

int AudioSystem::loadSound(const std::string& name, int kind) {
    if (isLoaded(name, kind)) return AlreadyLoaded;
    // Decoding happens outside the lock: a long track must not hold up the mixer.
    Mix_Chunk* chunk = nullptr;
    if (SDL_RWops* file = SDL_RWFromFile(name.c_str(), "rb")) chunk = Mix_LoadWAV_RW(file, 1);
    if (!chunk) {
        if (const AssetPack* pack = GameWide<AssetPack>::get()) chunk = pack->loadSound(name);
    }
    if (!chunk) {
        std::cerr << "Error when loading sound: " << name << ": " << SDL_GetError() << std::endl;
        return Failed;
    }
    Lock lock(this);
    tables_[kind].emplace(name, chunk);
    return Loaded;
}

void AudioSystem::unloadSound(const std::string& name, int kind) {
    if (kind != Music && kind != Effect) return;
    Lock lock(this);
    const auto found = tables_[kind].find(name);
    if (found == tables_[kind].end()) return;
    // The mixer halts every channel still playing the chunk before freeing it.
    Mix_FreeChunk(found->second);
    tables_[kind].erase(found);
}

Mix_Chunk* AudioSystem::getEffect(const std::string& name) {
    if (!isLoaded(name, Effect) && loadSound(name, Effect) != Loaded) return nullptr;
    Lock lock(this);
    return chunkOf(name, Effect);
}

Mix_Chunk* AudioSystem::getMusicSound(const std::string& name) {
    if (!isLoaded(name, Music) && loadSound(name, Music) != Loaded) return nullptr;
    Lock lock(this);
    return chunkOf(name, Music);
}

void AudioSystem::setVolume(int channel, int32_t volume) {
    if (!validChannel(channel) || channels_[channel].volume == volume) return;
    channels_[channel].volume = volume;
    Mix_Volume(channel, volume);
}

void AudioSystem::clearRecord(int channel) {
    if (validChannel(channel)) channels_[channel] = ChannelState{};
}

int AudioSystem::playSound(const std::string& name, int channel, int loops, bool looping, bool keepOnPause) {
    Mix_Chunk* chunk = getEffect(name);
    if (!chunk) return -1;
    Lock lock(this);
    const int ch = Mix_PlayChannelTimed(channel, chunk, loops, -1);
    if (!validChannel(ch)) return -1;
    noteStart(ch);
    setVolume(ch, effectVolume.load());
    ChannelState& record = channels_[ch];
    record.baseVolume = 128;
    record.looping = looping;
    record.isMusic = false;
    record.keepOnPause = keepOnPause;
    record.soundName = name;
    record.x = record.y = -1;
    return ch;
}

int AudioSystem::playMusicTrack(const std::string& name, int loops) {
    if (name.empty()) return -1;
    Mix_Chunk* chunk = getMusicSound(name);
    if (!chunk) return -1;
    Lock lock(this);
    const int ch = Mix_PlayChannelTimed(-1, chunk, loops, -1);
    if (!validChannel(ch)) return -1;
    noteStart(ch);
    setVolume(ch, musicVolume.load());
    ChannelState& record = channels_[ch];
    record.baseVolume = 128;
    record.isMusic = true;
    record.keepOnPause = false;
    record.looping = loops != 0;
    record.soundName = name;
    record.x = record.y = -1;
    return ch;
}

uint32_t AudioSystem::noteStart(int channel) {
    return startCount_[channel].fetch_add(1) + 1;
}

void AudioSystem::onChannelFinished(int channel) {
    if (!validChannel(channel)) return;
    // The sound that ended is the channel's latest start: a newer one needs the mutex, and the
    // mixer holds its device until this handler returns.
    const uint32_t start = startCount_[channel].load();
    if (!recordsMutex_.try_lock()) {
        finishedStart_[channel].store(start);
        waitingFinish_[channel / 64].fetch_or(uint64_t{1} << (channel % 64));
        return;
    }
    Lock lock(this, true);
    finishChannel(channel, start);
}

void AudioSystem::applyWaitingFinishes() {
    for (size_t word = 0; word < waitingFinish_.size(); ++word) {
        uint64_t bits = waitingFinish_[word].exchange(0);
        for (int bit = 0; bits; ++bit, bits >>= 1)
            if (bits & 1) {
                const int channel = static_cast<int>(word * 64) + bit;
                finishChannel(channel, finishedStart_[channel].load());
            }
    }
}

void AudioSystem::finishChannel(int channel, uint32_t start) {
    // A finish applied late may find the channel already carrying a newer sound of ours.
    if (startCount_[channel].load() == start) {
        clearRecord(channel);
        Mix_SetPanning(channel, 255, 255);
        Mix_SetDistance(channel, 0);
    }
    for (int k = 1; k <= 3; ++k) {
        if (music_.trackChannel[k] != channel || music_.trackStart[k] != start) continue;
        music_.trackChannel[k] = -1;
        if (music_.trackChannel[1] == -1 && music_.trackChannel[2] == -1 && music_.trackChannel[3] == -1)
            music_.layersRunning = false;
        return;
    }
    if (channel != music_.trackChannel[0] || music_.trackStart[0] != start || !music_.introStarted ||
        music_.layersStarted || music_.layersRunning)
        return;
    // The intro is over: the layers start together, on this thread, so no gap opens.
    for (int k = 1; k <= 3; ++k) {
        Mix_Chunk* chunk = music_.trackNames[k].empty() ? nullptr : chunkOf(music_.trackNames[k], Music);
        int ch = chunk ? Mix_PlayChannelTimed(-1, chunk, music_.loopLayers ? -1 : 0, -1) : -1;
        if (!validChannel(ch)) ch = -1;
        music_.trackChannel[k] = ch;
        if (ch < 0) continue;
        music_.trackStart[k] = noteStart(ch);
        ChannelState& record = channels_[ch];
        record.volume = -1;
        record.baseVolume = 128;
        record.isMusic = true;
        record.keepOnPause = false;
        record.looping = music_.loopLayers;
        record.soundName = music_.trackNames[k];
        setVolume(ch, music_.trackTarget[k] * musicVolume.load() / 128);
    }
    music_.trackChannel[0] = -1;
    music_.layersStarted = music_.layersRunning = true;
}

void AudioSystem::resetMusic() {
    const std::array<std::string, 4> names = music_.trackNames;
    music_ = MusicPlayer{};
    music_.trackNames = names;
}

void AudioSystem::selectMusic(const std::string& key, bool unloadPrevious) {
    const AssetPack* pack = GameWide<AssetPack>::get();
    const auto list = pack ? pack->readFile(musicListName) : nullptr;
    if (!list) return;
    selectMusicFromList(list->data.data(), std::min<size_t>(list->size, list->data.size()), key,
                        unloadPrevious);
}

void AudioSystem::selectMusicFromList(const uint8_t* data, size_t size, const std::string& key,
                                      bool unloadPrevious) {
    std::array<std::string, 4> tracks;
    if (MusicList::find(data, size, key, tracks)) {
        // Stopped first, so unloading a playing intro cannot set its layers off.
        stopMusic(false);
        std::array<std::string, 4> previous = musicState().trackNames;
        for (int k = 0; k < 4; ++k) {
            if (tracks[k] == "#") {
                if (unloadPrevious && !previous[k].empty()) unloadSound(previous[k], Music);
                tracks[k].clear();
            } else if (tracks[k] != previous[k]) {
                if (unloadPrevious && !previous[k].empty()) unloadSound(previous[k], Music);
                loadSound(tracks[k], Music);
            }
        }
        // A track shared by two slots may have been unloaded by the other slot; the mixer
        // thread cannot load it later, so every track is loaded now.
        for (const std::string& track : tracks)
            if (!track.empty()) loadSound(track, Music);
        Lock lock(this);
        stopMusic(false);
        music_ = MusicPlayer{};
        const bool intro = !tracks[0].empty();
        music_.trackNames = tracks;
        music_.layersStarted = music_.layersRunning = !intro;
        music_.introStarted = false;
    }
    Lock lock(this);
    music_.musicKey = key;
}

bool AudioSystem::startMusic(int32_t introVolume, int32_t layer2Volume) {
    // Load outside the lock; normally selectMusic has done it already.
    {
        const std::array<std::string, 4> names = musicState().trackNames;
        for (const std::string& name : names)
            if (!name.empty()) getMusicSound(name);
    }
    Lock lock(this);
    const int32_t v[4] = {introVolume, 128, layer2Volume, 0};
    const float scale = static_cast<float>(musicVolume.load()) / 128.0f;
    if (!music_.introStarted && music_.layersStarted && music_.layersRunning) {
        music_.trackVolume[0] = music_.trackTarget[0] = 0;
        music_.trackChannel[0] = -1;
        for (int k = 1; k <= 3; ++k) {
            music_.trackChannel[k] = playMusicTrack(music_.trackNames[k], -1);
            if (music_.trackChannel[k] >= 0)
                music_.trackStart[k] = startCount_[music_.trackChannel[k]].load();
            if (music_.trackChannel[k] >= 0)
                setVolume(music_.trackChannel[k], static_cast<int32_t>(static_cast<float>(v[k]) * scale));
            music_.trackVolume[k] = music_.trackTarget[k] = v[k];
        }
        music_.introStarted = music_.layersStarted = music_.layersRunning = music_.loopLayers = true;
        return true;
    }
    music_.trackChannel[0] = playMusicTrack(music_.trackNames[0], 0);
    if (music_.trackChannel[0] >= 0) music_.trackStart[0] = startCount_[music_.trackChannel[0]].load();
    if (music_.trackChannel[0] >= 0)
        setVolume(music_.trackChannel[0], static_cast<int32_t>(static_cast<float>(introVolume) * scale));
    for (int k = 0; k < 4; ++k)
        music_.trackVolume[k] = music_.trackTarget[k] = v[k];
    music_.introStarted = true;
    music_.layersStarted = music_.layersRunning = false;
    music_.loopLayers = true;
    return false;
}

void AudioSystem::stopMusic(bool fade) {
    Lock lock(this);
    if (music_.musicKey == "NONE") return;
    int playing = 0;
    for (int32_t ch : music_.trackChannel)
        if (validChannel(ch) && channels_[ch].isMusic) ++playing;
    if (playing && fade) {
        const uint32_t f = frameDeltaMs;
        music_.fadeInterval = f > 2 ? 5 / (f - 2) : 0;
        music_.fadeStep = music_.fadeInterval ? musicVolume.load() / (5 / music_.fadeInterval) + 5 : 5;
        music_.fadingOut = true;
        return;
    }
    if (playing) {
        // So that the handler, called by each halt, starts nothing.
        music_.introStarted = music_.layersStarted = music_.layersRunning = true;
        for (int32_t& slot : music_.trackChannel) {
            const int32_t ch = slot;
            slot = -1;
            // A finished track's channel may already carry someone else's sound.
            if (validChannel(ch) && channels_[ch].isMusic) Mix_HaltChannel(ch);
        }
    }
    resetMusic();
}

void AudioSystem::applyMusicVolume() {
    Lock lock(this);
    for (int k = 0; k < 4; ++k) {
        const int32_t ch = music_.trackChannel[k];
        if (!validChannel(ch) || channels_[ch].volume == -1 || !channels_[ch].isMusic) continue;
        setVolume(ch, musicVolume.load() * music_.trackVolume[k] / 128);
    }
}

void AudioSystem::stopLoopingEffects() {
    Lock lock(this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].looping && !channels_[ch].isMusic) Mix_HaltChannel(ch);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        // Music still playing keeps its record, or it could no longer be paused or stopped.
        if (channels_[ch].isMusic && Mix_Playing(ch)) continue;
        clearRecord(ch);
    }
}

void AudioSystem::update() {
    Lock lock(this);
    if (music_.fadingOut) {
        music_.trackTarget = {0, 0, 0, 0};
        int32_t sum = 0;
        for (int k = 0; k < 4; ++k)
            if (music_.trackChannel[k] != -1) sum += music_.trackVolume[k];
        // Muted music would never step down (its scaled volumes never differ): it is done too.
        if (sum <= 0 || musicVolume.load() == 0) {
            stopMusic(false);
            return;
        }
    }
    music_.fadeTimer += frameDeltaMs;
    if (music_.fadeTimer < music_.fadeInterval) return;
    music_.fadeTimer = 0;
    if (!music_.introStarted && !music_.layersStarted) return;
    const float scale = static_cast<float>(musicVolume.load()) * 0.0078125f;
    for (int k = 0; k < 4; ++k) {
        const int32_t ch = music_.trackChannel[k];
        if (ch == -1) continue;
        const auto t = static_cast<int32_t>(static_cast<float>(music_.trackTarget[k]) * scale);
        const auto c = static_cast<int32_t>(static_cast<float>(music_.trackVolume[k]) * scale);
        if (t > c) music_.trackVolume[k] += 2;
        // Never below silence: -1 would read as "free channel" and the fade-out sum never reach 0.
        if (t < c)
            music_.trackVolume[k] =
                std::max<int32_t>(0, music_.trackVolume[k] - static_cast<int32_t>(music_.fadeStep));
        setVolume(ch, static_cast<int32_t>(static_cast<float>(music_.trackVolume[k]) * scale));
    }
}

void AudioSystem::pauseAll() {
    Lock lock(this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].isMusic) Mix_Pause(ch);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].volume != -1 && !channels_[ch].isMusic && !channels_[ch].keepOnPause) Mix_Pause(ch);
}

void AudioSystem::resumeAll() {
    Lock lock(this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].isMusic) Mix_Resume(ch);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].volume != -1 && !channels_[ch].isMusic && !channels_[ch].keepOnPause)
            Mix_Resume(ch);
}

void AudioSystem::haltChannel(int channel) {
    if (!validChannel(channel) || !mixerOpen_) return;
    Lock lock(this);
    Mix_HaltChannel(channel);
}

bool AudioSystem::isPlaying(int channel) const {
    if (!validChannel(channel) || !mixerOpen_) return false;
    Lock lock(this);
    return Mix_Playing(channel) != 0;
}

void AudioSystem::setChannelVolume(int channel, int32_t volume) {
    if (!validChannel(channel)) return;
    Lock lock(this);
    setVolume(channel, std::clamp<int32_t>(volume, 0, 128));
}

int32_t AudioSystem::channelVolume(int channel) const {
    if (!validChannel(channel)) return -1;
    Lock lock(this);
    return channels_[channel].volume;
}

void AudioSystem::haltLoopingEffects() {
    if (!mixerOpen_) return;
    Lock lock(this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].looping && !channels_[ch].isMusic) Mix_HaltChannel(ch);
}

void AudioSystem::pauseLoopingEffects() {
    if (!mixerOpen_) return;
    Lock lock(this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].looping && !channels_[ch].isMusic && channels_[ch].volume != -1) Mix_Pause(ch);
}

void AudioSystem::resumeLoopingEffects() {
    if (!mixerOpen_) return;
    Lock lock(this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].looping && !channels_[ch].isMusic && channels_[ch].volume != -1) Mix_Resume(ch);
}

void AudioSystem::resumeEffects() {
    if (!mixerOpen_) return;
    Lock lock(this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (channels_[ch].volume != -1 && !channels_[ch].isMusic && !channels_[ch].keepOnPause)
            Mix_Resume(ch);
}

ChannelState AudioSystem::channelState(int channel) const {
    if (!validChannel(channel)) return ChannelState{};
    Lock lock(this);
    return channels_[channel];
}

MusicPlayer AudioSystem::musicState() const {
    Lock lock(this);
    return music_;
}

bool AudioSystem::isMusicChannel(int channel) const {
    if (!validChannel(channel)) return false;
    Lock lock(this);
    return channels_[channel].isMusic;
}

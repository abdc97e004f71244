#include "opening/SceneLogoQuillon.h"

#include <SDL_mixer.h>

#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "core/SceneManager.h"

SceneLogoQuillon::SceneLogoQuillon()
    : SceneLogo("Assets/menu_backgrounds/quillonstudio.png", 0xFFFFFFFFu, kSecondLogoScene) {
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->loadSound(kJingle, AudioSystem::Effect);
}

SceneLogoQuillon::~SceneLogoQuillon() {
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->unloadSound(kJingle, AudioSystem::Effect);
}

void SceneLogoQuillon::onShown() {
    AudioSystem* audio = GameWide<AudioSystem>::get();
    jingleChannel = audio ? audio->playSound(kJingle, -1, 0) : -1;
}

void SceneLogoQuillon::onLeave() {
    AudioSystem* audio = GameWide<AudioSystem>::get();
    // Halting channel -1 would halt every channel, the music among them; and a channel whose
    // jingle has ended may already carry another sound.
    if (audio && jingleChannel >= 0 && audio->channelState(jingleChannel).soundName == kJingle)
        Mix_HaltChannel(jingleChannel);
    jingleChannel = -1;
}

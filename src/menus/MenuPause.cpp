#include "menus/MenuPause.h"

#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "core/SceneManager.h"
#include "menus/MenuSupport.h"

namespace {
AudioSystem* audio() {
    return GameWide<AudioSystem>::get();
}
} // namespace

void MenuPause::load() {
    loadScreen("Assets/scene/Pause.scn");
    forwardButton = 0; // Resume: Return paused the level, Return takes the player back
    setButtonTips(1);
}

void MenuPause::loadScene() {
    Menu::loadScene();
    menus::linkColumn(*this, 5);
}

void MenuPause::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this,
                         {"PAUSE_BACK", "PAUSE_RESTART", "PAUSE_GOOPTIONS", "PAUSE_GOMAIN", "PAUSE_EXIT"});
}

void MenuPause::enter() {
    // The brush noise loops while a button is held; the level is frozen now, so it must stop.
    // The music plays on under the menu.
    if (AudioSystem* sound = audio()) sound->haltLoopingEffects();
    Menu::enter();
}

void MenuPause::onAction(int16_t) {
    switch (focused) {
    case 0:
        requestExit(menus::kSwitchBack, kLevelScene);
        break;
    case 1:
        requestExit(menus::kSwitchOn, kLevelScene);
        menus::stopMenuMusic();
        menus::restartCurrentLevel();
        break;
    case 2:
        requestExit(menus::kSwitchOn, kOptionsScene);
        break;
    case 3:
        requestExit(menus::kSwitchOn, kMainScene);
        menus::stopMenuMusic();
        break;
    case 4:
        requestExit(menus::kSwitchOn, kQuitScene);
        menus::stopMenuMusic();
        break;
    default:
        break;
    }
}

void MenuPause::switchScene() {
    SceneManager* manager = GameWide<SceneManager>::get();
    if (switchRequested == menus::kSwitchOn) {
        if (nextScene == kLevelScene || nextScene == kMainScene) {
            if (AudioSystem* sound = audio()) sound->stopLoopingEffects();
            // The level sets itself up afresh next time (a restart, or a new level after the menu).
            if (Scene* level = manager ? manager->scene(kLevelScene) : nullptr) level->fadeInOnEnter = 1;
        }
        menus::commonSwitch(*this, menus::kSwitchOn);
    } else if (switchRequested == menus::kSwitchBack) {
        // Back always means the level, even when the options menu came in between.
        entered = 0;
        fadeInOnEnter = 1;
        if (manager) {
            manager->currentScene = kLevelScene;
            manager->previousScene = kPauseScene;
        }
    }
}

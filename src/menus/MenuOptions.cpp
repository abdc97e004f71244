#include "menus/MenuOptions.h"

#include <algorithm>

#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "game/SceneLevel.h"
#include "gui/GUIElement.h"
#include "menus/MenuSupport.h"
#include "persist/ProgressRecord.h"
#include "text/GameTexts.h"

namespace {
constexpr int kSwitchKind = 31, kSliderKind = 30, kSelectorKind = 28;
} // namespace

GUIElement* MenuOptions::widgetOfKind(int index, int kind) const {
    GUIElement* w = widget(index);
    return w && w->isKindOf(kind) ? w : nullptr;
}

GUIElement* MenuOptions::fullscreenSwitch() const {
    return widgetOfKind(0, kSwitchKind);
}
GUIElement* MenuOptions::musicSlider() const {
    return widgetOfKind(1, kSliderKind);
}
GUIElement* MenuOptions::effectSlider() const {
    return widgetOfKind(2, kSliderKind);
}
GUIElement* MenuOptions::languageSelector() const {
    return widgetOfKind(3, kSelectorKind);
}

void MenuOptions::takeRecordValues() {
    const ProgressRecord* progress = GameWide<ProgressRecord>::get();
    if (!progress) return;
    fullscreen = progress->fullscreen;
    musicVolume = progress->musicVolume;
    effectVolume = progress->effectVolume;
    language = progress->language;
}

void MenuOptions::load() {
    ProgressRecord* progress = GameWide<ProgressRecord>::get();
    if (progress && progress->readOptions()) {
        takeRecordValues();
    } else {
        fullscreen = 1;
        musicVolume = effectVolume = 128;
        language = 0;
        if (progress) {
            progress->fullscreen = fullscreen;
            progress->musicVolume = musicVolume;
            progress->effectVolume = effectVolume;
            progress->language = language;
        }
    }
    savedFullscreen = fullscreen;
    savedMusicVolume = musicVolume;
    savedEffectVolume = effectVolume;
    savedLanguage = language;
    loadScreen("Assets/scene/menu_options.scn", kMoveSound, kConfirmSound, kCancelSound);
    // Accept keeps what was set. The switch takes the focus as the screen fades in, so this
    // counts only once the pointer has moved off every widget.
    forwardButton = 6;
    setWidgetsFromValues();
    applyValues();
    if (progress) progress->writeOptions();
    setButtonTips(0);
}

void MenuOptions::loadScene() {
    Menu::loadScene();
    for (int i = 0; i < 4; ++i)
        menus::link(*this, i, i + 1, Down);
    menus::link(*this, 6, 0, Down);
    // The bottom rows: defaults above cancel and accept, which sit side by side.
    if (widget(4) && widget(5) && widget(6)) {
        navigation[4][Left] = 5;
        navigation[4][Right] = 6;
        navigation[4][Down] = 6;
        navigation[5] = {4, 0, -1, 6};
        navigation[6][Up] = 4;
        navigation[6][Left] = 5;
    }
}

void MenuOptions::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"GEN_DEFAULT", "GEN_CANCEL2", "GEN_ACCEPT"}, 4);
}

void MenuOptions::setWidgetsFromValues() {
    if (GUIElement* w = fullscreenSwitch()) w->setValue(fullscreen != 0);
    if (GUIElement* w = musicSlider()) w->setValue(musicVolume);
    if (GUIElement* w = effectSlider()) w->setValue(effectVolume);
    if (GUIElement* w = languageSelector()) w->setValue(static_cast<int32_t>(language));
}

void MenuOptions::applyValues() {
    if (GUIElement* w = fullscreenSwitch()) fullscreen = w->getValue() != 0;
    if (GameTexts* texts = GameWide<GameTexts>::get()) texts->changeLanguage(language);
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) {
        audio->musicVolume = static_cast<uint8_t>(std::min<uint16_t>(musicVolume, 128));
        audio->applyMusicVolume();
        audio->effectVolume = static_cast<uint8_t>(std::min<uint16_t>(effectVolume, 128));
    }
    if (ProgressRecord* progress = GameWide<ProgressRecord>::get()) {
        progress->fullscreen = fullscreen;
        progress->language = language;
        progress->musicVolume = musicVolume;
        progress->effectVolume = effectVolume;
    }
}

void MenuOptions::restoreSaved() {
    fullscreen = savedFullscreen;
    musicVolume = savedMusicVolume;
    effectVolume = savedEffectVolume;
    language = savedLanguage;
    setWidgetsFromValues();
    applyValues();
}

void MenuOptions::enter() {
    Menu::enter();
    if (state != FadingIn) return;
    takeRecordValues();
    savedFullscreen = fullscreen;
    savedMusicVolume = musicVolume;
    savedEffectVolume = effectVolume;
    savedLanguage = language;
    refreshTexts();
    setWidgetsFromValues();
}

void MenuOptions::refreshTexts() {
    if (GameTexts* texts = GameWide<GameTexts>::get()) texts->changeLanguage(language);
    Menu::refreshTexts();
}

void MenuOptions::updateFadeIn() {
    Menu::updateFadeIn();
    setFocus(0);
}

void MenuOptions::updateRunning() {
    Menu::updateRunning();
    AudioSystem* audio = GameWide<AudioSystem>::get();
    GUIElement* music = musicSlider();
    if (music && music->changed) {
        musicVolume = static_cast<uint16_t>(std::max(music->getValue(), 0));
        if (audio) {
            audio->musicVolume = static_cast<uint8_t>(std::min<uint16_t>(musicVolume, 128));
            audio->applyMusicVolume();
        }
    }
    GUIElement* effects = effectSlider();
    if (effects && effects->changed) {
        effectVolume = static_cast<uint16_t>(std::max(effects->getValue(), 0));
        if (audio) audio->effectVolume = static_cast<uint8_t>(std::min<uint16_t>(effectVolume, 128));
    }
    GUIElement* languages = languageSelector();
    if (languages && languages->changed) {
        language = static_cast<uint32_t>(std::max(languages->getValue(), 0));
        refreshTexts();
    }
}

void MenuOptions::handleInput() {
    Menu::handleInput();
    const InputState* input = GameWide<InputState>::get();
    if (!input || !input->backPressed || state != Running || pressPending) return;
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->playSound(cancelSound, -1, 0);
    restoreSaved();
    requestExit(menus::kSwitchBack, menus::kBackScene);
}

void MenuOptions::onAction(int16_t) {
    ProgressRecord* progress = GameWide<ProgressRecord>::get();
    switch (focused) {
    case 4:
        fullscreen = 1;
        musicVolume = effectVolume = 128;
        language = 0;
        if (progress) {
            progress->fullscreen = fullscreen;
            progress->musicVolume = musicVolume;
            progress->effectVolume = effectVolume;
            progress->language = language;
        }
        // The sliders and the selector report the change; this frame's update applies it.
        setWidgetsFromValues();
        break;
    case 5:
        restoreSaved();
        requestExit(menus::kSwitchBack, menus::kBackScene);
        break;
    case 6: {
        applyValues();
        SceneManager* manager = GameWide<SceneManager>::get();
        if (auto* level = dynamic_cast<SceneLevel*>(manager ? manager->scene(kLevelScene) : nullptr))
            level->refreshGoalText();
        if (progress) progress->writeOptions();
        requestExit(menus::kSwitchBack, menus::kBackScene);
        break;
    }
    default:
        break;
    }
}

void MenuOptions::switchScene() {
    if (switchRequested == menus::kSwitchBack) menus::commonSwitch(*this, menus::kSwitchBack);
}

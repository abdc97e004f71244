#include "menus/MenuSupport.h"

#include <algorithm>

#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "core/Scene.h"
#include "core/SceneManager.h"
#include "gui/Button.h"
#include "menus/Menu.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "text/Font.h"
#include "text/GameTexts.h"

namespace menus {

void bindGameScreen() {
    if (Renderer* renderer = Renderer::instance()) renderer->bindGameScreen();
}

void clearGameScreen(uint32_t argb) {
    Renderer* renderer = Renderer::instance();
    if (!renderer) return;
    renderer->bindGameScreen();
    // Target 5 clears whatever is bound, which is now the game screen.
    renderer->clearTarget(argb, 5);
}

void commonSwitch(Scene& scene, uint32_t mode) {
    if (mode == kSwitchOn) {
        scene.switchToNextScene();
        return;
    }
    scene.entered = 0;
    scene.fadeInOnEnter = 1;
    SceneManager* manager = GameWide<SceneManager>::get();
    if (mode == kSwitchBack && manager && manager->previousScene < kSceneCount)
        manager->currentScene = manager->previousScene;
}

void link(Menu& menu, int a, int b, uint8_t direction) {
    if (!menu.widget(a) || !menu.widget(b) || direction > Menu::Right) return;
    const size_t needed = static_cast<size_t>(std::max(a, b)) + 1;
    if (menu.navigation.size() < needed) menu.navigation.resize(needed, {-1, -1, -1, -1});
    static constexpr uint8_t kOpposite[4] = {Menu::Down, Menu::Up, Menu::Right, Menu::Left};
    menu.navigation[a][direction] = static_cast<int16_t>(b);
    menu.navigation[b][kOpposite[direction]] = static_cast<int16_t>(a);
}

void linkColumn(Menu& menu, int count) {
    for (int i = 0; i < count; ++i)
        link(menu, i, (i + 1) % count, Menu::Down);
}

void setButtonKeys(Menu& menu, std::initializer_list<const char*> keys, int first) {
    int index = first;
    for (const char* key : keys)
        setButtonKey(menu.widget(index++), key);
}

void setButtonKey(GUIElement* widget, const std::string& key) {
    if (!widget || !widget->isKindOf(3)) return;
    auto* button = static_cast<Button*>(widget);
    for (auto& text : button->stateTexts)
        if (text) text->setKey(key);
    button->setPosition(button->x, button->y);
}

void startMenuMusic() {
    AudioSystem* audio = GameWide<AudioSystem>::get();
    if (!audio || audio->musicState().musicKey == "MAIN") return;
    audio->selectMusic("MAIN", true);
    audio->startMusic(128, 0);
}

void stopMenuMusic() {
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->stopMusic(true);
}

uint8_t warningBand(uint16_t font) {
    const GameTexts* texts = GameWide<GameTexts>::get();
    const Font* f = texts ? texts->font(font) : nullptr;
    if (!f || f->colourCount < 1) return 0;
    return static_cast<uint8_t>(f->colourCount < 3 ? f->colourCount - 1 : 2);
}

std::string levelDisplayName(const LevelInfo& level) {
    const ProgressRecord* progress = GameWide<ProgressRecord>::get();
    if (progress) {
        auto found = progress->levelNames.find(level.name);
        if (found != progress->levelNames.end() && !found->second.empty()) return found->second;
    }
    return level.name;
}

const Flag* currentFlag() {
    const ProgressRecord* progress = GameWide<ProgressRecord>::get();
    return progress ? progress->currentFlagInfo() : nullptr;
}

LevelInfo* currentLevel() {
    ProgressRecord* progress = GameWide<ProgressRecord>::get();
    return progress ? progress->currentLevelInfo() : nullptr;
}

void restartCurrentLevel() {
    if (ProgressRecord* progress = GameWide<ProgressRecord>::get())
        progress->chooseLevel(progress->currentLevel, progress->currentFlag);
}

void drawFlag(const Flag* flag, int16_t x, int16_t y) {
    if (!flag || flag->texture < 0 || flag->width == 0 || flag->height == 0) return;
    drawSpriteAlpha(flag->texture, {0, 0, Flag::kShownWidth, Flag::kShownHeight}, x, y, 255);
}

} // namespace menus

#include "menus/MenuGameOver.h"

#include "core/GameWide.h"
#include "menus/MenuSupport.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"
#include "render/TextureRecord.h"

void MenuGameOver::load() {
    sceneFile = "Assets/scene/GameOver.scn";
    moveSound.clear();
    confirmSound.clear();
    cancelSound.clear();
    Menu::load();
    mouseEnabled = 1;
    drawDisabled = 1;
    crossTexture = -1;
    crossWidth = crossHeight = 0;
    if (ResourceStore* store = GameWide<ResourceStore>::get()) {
        crossTexture = store->getOrLoadTexture(kCrossPicture);
        if (const TextureRecord* cross = store->texture(crossTexture)) {
            crossWidth = static_cast<uint16_t>(cross->width);
            crossHeight = static_cast<uint16_t>(cross->height);
        }
    }
}

void MenuGameOver::loadScene() {
    Menu::loadScene();
    menus::link(*this, 0, 1, Right);
}

void MenuGameOver::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKey(widget(0), "MENU_GAMEOVER_MENUMAIN");
    menus::setButtonKey(widget(1), "MENU_GAMEOVER_GAME");
}

void MenuGameOver::enter() {
    Menu::enter();
    shownFlag = menus::currentFlag();
}

void MenuGameOver::onAction(int16_t) {
    if (focused == 0) {
        requestExit(menus::kSwitchOn, menus::kMainScene);
    } else if (focused == 1) {
        requestExit(menus::kSwitchOn, menus::kLevelScene);
        menus::restartCurrentLevel();
    } else {
        return;
    }
    menus::stopMenuMusic();
}

void MenuGameOver::switchScene() {
    menus::commonSwitch(*this, switchRequested);
}

void MenuGameOver::drawExtras() {
    menus::drawFlag(shownFlag, 134, 110);
    if (crossTexture >= 0 && crossWidth > 0 && crossHeight > 0)
        drawSprite(crossTexture, ClipRect{0, 0, crossWidth, crossHeight}, 120, 88);
}

void MenuGameOver::drawFadeIn() {
    menus::clearGameScreen(kClearColour);
    Menu::drawFadeIn();
    drawExtras();
    drawFadeInCurtain();
}

void MenuGameOver::drawRunning() {
    menus::clearGameScreen(kClearColour);
    Menu::drawRunning();
    drawExtras();
    drawButtonTips();
}

void MenuGameOver::drawFadeOut() {
    menus::clearGameScreen(kClearColour);
    Menu::drawFadeOut();
    drawExtras();
    drawFadeOutCurtain();
}

#include "menus/MenuGameOver.h"

#include "base/GameWide.h"
#include "menus/MenuSupport.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"
#include "render/TextureRecord.h"

void MenuGameOver::load() {
    loadScreen("Assets/scene/GameOver.scn");
    forwardButton = 1; // Try again
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
    menus::setButtonKeys(*this, {"MENU_GAMEOVER_MENUMAIN", "MENU_GAMEOVER_GAME"});
}

void MenuGameOver::enter() {
    Menu::enter();
    shownFlag = menus::currentFlag();
}

void MenuGameOver::onAction(int16_t) {
    if (focused == 0) {
        requestExit(menus::kSwitchOn, kMainScene);
    } else if (focused == 1) {
        requestExit(menus::kSwitchOn, kLevelScene);
        menus::restartCurrentLevel();
    } else {
        return;
    }
    menus::stopMenuMusic();
}

void MenuGameOver::drawOver(uint8_t) {
    menus::drawFlag(shownFlag, 134, 110);
    if (crossTexture >= 0 && crossWidth > 0 && crossHeight > 0)
        drawSprite(crossTexture, ClipRect{0, 0, crossWidth, crossHeight}, 120, 88);
}

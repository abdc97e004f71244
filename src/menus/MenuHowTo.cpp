#include "menus/MenuHowTo.h"

#include "menus/MenuSupport.h"

void MenuHowTo::load() {
    sceneFile = "Assets/scene/HowTo.scn";
    moveSound.clear();
    confirmSound.clear();
    cancelSound.clear();
    Menu::load();
    mouseEnabled = 1;
    drawDisabled = 1;
}

void MenuHowTo::enter() {
    Menu::enter();
}

void MenuHowTo::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKey(widget(0), "GEN_CONTIN");
}

void MenuHowTo::onAction(int16_t) {
    if (focused == 0) requestExit(menus::kSwitchOn, menus::kMainScene);
}

void MenuHowTo::switchScene() {
    menus::commonSwitch(*this, switchRequested);
}

void MenuHowTo::drawFadeIn() {
    menus::clearGameScreen(kClearColour);
    Menu::drawFadeIn();
    drawFadeInCurtain();
}

void MenuHowTo::drawRunning() {
    menus::clearGameScreen(kClearColour);
    Menu::drawRunning();
    drawButtonTips();
}

void MenuHowTo::drawFadeOut() {
    menus::clearGameScreen(kClearColour);
    Menu::drawFadeOut();
    drawFadeOutCurtain();
}

#include "menus/MenuScreen.h"

#include "menus/MenuSupport.h"

void MenuScreen::loadScreen(const std::string& file, const std::string& move, const std::string& confirm,
                            const std::string& cancel) {
    sceneFile = file;
    moveSound = move;
    confirmSound = confirm;
    cancelSound = cancel;
    Menu::load();
    mouseEnabled = 1;
    drawDisabled = 1;
}

void MenuScreen::prepareScreen() {
    if (clearColour)
        menus::clearGameScreen(*clearColour);
    else
        menus::bindGameScreen();
}

void MenuScreen::drawOver(uint8_t) {}

void MenuScreen::drawFadeIn() {
    prepareScreen();
    Menu::drawFadeIn();
    drawOver(FadeInPhase);
    drawFadeInCurtain();
}

void MenuScreen::drawRunning() {
    prepareScreen();
    Menu::drawRunning();
    drawOver(RunningPhase);
    drawButtonTips();
}

void MenuScreen::drawFadeOut() {
    prepareScreen();
    Menu::drawFadeOut();
    drawOver(FadeOutPhase);
    drawFadeOutCurtain();
}

void MenuScreen::switchScene() {
    menus::commonSwitch(*this, switchRequested);
}

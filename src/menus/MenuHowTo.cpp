#include "menus/MenuHowTo.h"

#include "menus/MenuSupport.h"

void MenuHowTo::load() {
    loadScreen("Assets/scene/HowTo.scn");
    forwardButton = 0; // Continue
}

void MenuHowTo::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"GEN_CONTIN"});
}

void MenuHowTo::onAction(int16_t) {
    if (focused == 0) requestExit(menus::kSwitchOn, kMainScene);
}

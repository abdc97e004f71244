#include "menus/MenuWin.h"

#include <string>

#include "assets/StringHelpers.h"
#include "base/GameWide.h"
#include "menus/MenuSupport.h"
#include "persist/ProgressRecord.h"
#include "text/TextBox.h"

void MenuWin::load() {
    loadScreen("Assets/scene/Win.scn");
    forwardButton = 1; // Pick a country: a winner plays on
    setButtonTips(1);
}

void MenuWin::loadScene() {
    Menu::loadScene();
    menus::link(*this, 0, 1, Right);
}

void MenuWin::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"MENU_WIN_MENUMAIN", "MENU_WIN_SELECTLEVEL"});
}

std::string MenuWin::countryOfFlag(const std::string& flagName) {
    return replaceFirst(flagName, " Flag", "");
}

void MenuWin::enter() {
    Menu::enter();
    const ProgressRecord* progress = GameWide<ProgressRecord>::get();
    const LevelInfo* level = menus::currentLevel();
    shownFlag = menus::currentFlag();
    const int32_t total = progress ? progress->creaturesTotal : 0;
    const int32_t saved = progress ? progress->creaturesSaved : 0;
    const std::string values[4] = {std::to_string(total), std::to_string(total - saved),
                                   level ? menus::levelDisplayName(*level) : std::string(),
                                   shownFlag ? countryOfFlag(shownFlag->name) : std::string()};
    for (int i = 0; i < 4; ++i) {
        GraphicElement* box = element(4 + i);
        if (box && box->isKindOf(32)) static_cast<TextBox*>(box)->replaceVariable(values[i]);
    }
}

void MenuWin::onAction(int16_t) {
    if (focused == 0)
        requestExit(menus::kSwitchOn, kMainScene);
    else if (focused == 1)
        requestExit(menus::kSwitchOn, kSelectScene);
    else
        return;
    menus::stopMenuMusic();
}

void MenuWin::drawOver(uint8_t phase) {
    if (phase != FadeOutPhase) menus::drawFlag(shownFlag, 240, 95);
}

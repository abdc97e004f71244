#include "menus/MenuWin.h"

#include <string>

#include "assets/StringHelpers.h"
#include "base/GameWide.h"
#include "core/SceneManager.h"
#include "gui/GUIElement.h"
#include "menus/MenuSupport.h"
#include "persist/ProgressRecord.h"
#include "text/TextBox.h"

void MenuWin::load() {
    loadScreen("Assets/scene/Win.scn");
    setButtonTips(1);
}

void MenuWin::loadScene() {
    Menu::loadScene();
    menus::link(*this, 0, 1, Right);
    // The next-country button stands over the row of two.
    menus::link(*this, 2, 0, Down);
    if (widget(1) && widget(2)) navigation[1][Up] = 2;
}

void MenuWin::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"MENU_WIN_MENUMAIN", "MENU_WIN_SELECTLEVEL", "MENU_WIN_NEXT"});
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
    nextLevel = progress ? progress->nextUnpainted(progress->currentLevel) : -1;
    // A winner plays on: Return alone takes the next unpainted country while one is left.
    forwardButton = nextLevel >= 0 ? 2 : 1;
    if (GUIElement* next = widget(2)) {
        if (nextLevel < 0)
            next->setState(GUIElement::Disabled);
        else if (next->state == GUIElement::Disabled)
            next->setState(GUIElement::Normal);
    }
}

void MenuWin::onAction(int16_t) {
    if (focused == 2 && nextLevel >= 0) {
        requestExit(menus::kSwitchOn, kBriefingScene);
        // The briefing sounds as it does when reached from the selection.
        menus::startMenuMusic();
        return;
    }
    if (focused == 0)
        requestExit(menus::kSwitchOn, kMainScene);
    else if (focused == 1)
        requestExit(menus::kSwitchOn, kSelectScene);
    else
        return;
    menus::stopMenuMusic();
}

void MenuWin::switchScene() {
    const bool toBriefing =
        switchRequested == menus::kSwitchOn && nextScene == kBriefingScene && nextLevel >= 0;
    ProgressRecord* progress = GameWide<ProgressRecord>::get();
    // Chosen as the selection chooses: at the switch, once this screen has flown out.
    if (toBriefing && progress)
        progress->chooseLevel(static_cast<uint32_t>(nextLevel), progress->currentFlag);
    MenuScreen::switchScene();
    // The briefing's back leads to the selection, showing the country chosen here, not to a win
    // screen about another country.
    SceneManager* manager = GameWide<SceneManager>::get();
    if (toBriefing && manager) manager->previousScene = kSelectScene;
}

void MenuWin::drawOver(uint8_t phase) {
    if (phase != FadeOutPhase) menus::drawFlag(shownFlag, 240, 95);
}

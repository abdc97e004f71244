#include "menus/MenuMain.h"

#include <string>

#include "assets/StringHelpers.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "gui/GUIElement.h"
#include "menus/MenuSupport.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"

MenuMain::MenuMain()
    : MenuScreen(kClearColour), levelsText(std::make_unique<TextLine>(1, 4)),
      flagsText(std::make_unique<TextLine>(1, 4)), paintedText(std::make_unique<TextLine>(1, 4)) {}

void MenuMain::load() {
    loadScreen("Assets/scene/Main.scn");
    forwardButton = 0; // Play
    setButtonTips(1);
}

void MenuMain::loadScene() {
    Menu::loadScene();
    // A column that wraps: down from the last button is the first.
    menus::linkColumn(*this, 5);
}

void MenuMain::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"OPT_START", "OPT_HOWTO", "OPT_OPTIONS", "OPT_CREDITS", "OPT_EXIT"});
}

bool MenuMain::canStart() const {
    const ProgressRecord* progress = GameWide<ProgressRecord>::get();
    return progress && !progress->levels.empty() && !progress->flags.empty();
}

void MenuMain::enter() {
    menus::startMenuMusic();
    Menu::enter();
    const ProgressRecord* progress = GameWide<ProgressRecord>::get();
    const size_t levels = progress ? progress->levels.size() : 0;
    const size_t flags = progress ? progress->flags.size() : 0;
    if (levels > 0) {
        levelsText->setColour(4);
        levelsText->setKey(160, 185, "LOADED_LEVELS", TextLine::Centre);
        levelsText->replaceVariable(std::to_string(levels));
    } else {
        levelsText->setColour(menus::warningBand(1));
        levelsText->setKey(160, 185, "LOADED_NOLEVELS", TextLine::Centre);
    }
    if (levels > 0) {
        paintedText->setKey(160, kPaintedY, "PAINTED_COUNT", TextLine::Centre);
        // Two numbers in one text: the first "_VAR_" is the painted count, the other the total.
        paintedText->text =
            replaceFirst(paintedText->text, "_VAR_", std::to_string(progress->paintedCount()));
        paintedText->replaceVariable(std::to_string(levels));
    } else {
        paintedText->setString(160, kPaintedY, "", TextLine::Centre);
    }
    if (flags > 0) {
        flagsText->setColour(4);
        flagsText->setKey(160, 175, "LOADED_FLAGS", TextLine::Centre);
        flagsText->replaceVariable(std::to_string(flags));
    } else {
        flagsText->setColour(menus::warningBand(1));
        flagsText->setKey(160, 175, "LOADED_NOFLAGS", TextLine::Centre);
    }
    if (GUIElement* start = widget(0)) {
        if (!canStart())
            start->setState(GUIElement::Disabled);
        else if (start->state == GUIElement::Disabled)
            start->setState(GUIElement::Normal);
    }
}

void MenuMain::handleInput() {
    Menu::handleInput();
    const InputState* input = GameWide<InputState>::get();
    SceneManager* manager = GameWide<SceneManager>::get();
    if (input && manager && input->quitRequested()) {
        manager->quitRequested = 1;
        entered = 0;
    }
}

void MenuMain::switchScene() {
    if (switchRequested != menus::kSwitchOn) return;
    menus::commonSwitch(*this, menus::kSwitchOn);
}

void MenuMain::onAction(int16_t) {
    switch (focused) {
    case 0:
        // The button is disabled without levels or flags; a press that gets through anyway
        // must not start a level that is not there.
        if (!canStart()) return;
        if (ProgressRecord* progress = GameWide<ProgressRecord>::get()) progress->resetProgress();
        requestExit(menus::kSwitchOn, kSelectScene);
        break;
    case 1:
        requestExit(menus::kSwitchOn, kHowToScene);
        break;
    case 2:
        requestExit(menus::kSwitchOn, kOptionsScene);
        break;
    case 3:
        requestExit(menus::kSwitchOn, kCreditsScene);
        break;
    case 4:
        requestExit(menus::kSwitchOn, kQuitScene);
        menus::stopMenuMusic();
        break;
    default:
        break;
    }
}

void MenuMain::drawOver(uint8_t phase) {
    if (phase != RunningPhase) return;
    const int w = levelsText->width;
    drawColourRect(static_cast<int16_t>(160 - (w + 10) / 2), 175, static_cast<uint16_t>(w + 10), 21,
                   kCountBoxColour);
    levelsText->draw(false);
    flagsText->draw(false);
    if (paintedText->width == 0) return;
    const int p = paintedText->width;
    drawColourRect(static_cast<int16_t>(160 - (p + 10) / 2), kPaintedY - 1, static_cast<uint16_t>(p + 10), 13,
                   kCountBoxColour);
    paintedText->draw(false);
}

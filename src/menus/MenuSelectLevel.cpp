#include "menus/MenuSelectLevel.h"

#include "base/GameWide.h"
#include "core/InputState.h"
#include "menus/MenuSupport.h"
#include "persist/ProgressRecord.h"

namespace {
// Wraps `index` into 0..count-1 either way; count must not be 0.
uint32_t wrapped(int64_t index, uint32_t count) {
    const int64_t n = count;
    return static_cast<uint32_t>(((index % n) + n) % n);
}
} // namespace

MenuSelectLevel::MenuSelectLevel()
    : MenuScreen(kClearColour), flagText(std::make_unique<TextLine>(0, 0)),
      levelText(std::make_unique<TextLine>(0, 0)) {}

void MenuSelectLevel::load() {
    loadScreen("Assets/scene/SelectLevel.scn");
    forwardButton = 5; // Accept: on to the briefing with the flag and the country shown
    setButtonTips(0);
    if (ProgressRecord* progress = GameWide<ProgressRecord>::get()) {
        progress->loadFlags();
        progress->loadLevelList();
    }
    showFlag(0);
    showLevel(0);
}

void MenuSelectLevel::loadScene() {
    Menu::loadScene();
    // Three rows of two: flag arrows, level arrows, back and accept.
    menus::link(*this, 0, 1, Right);
    menus::link(*this, 2, 3, Right);
    menus::link(*this, 4, 5, Right);
    menus::link(*this, 0, 2, Down);
    menus::link(*this, 2, 4, Down);
    menus::link(*this, 1, 3, Down);
    menus::link(*this, 3, 5, Down);
    menus::link(*this, 4, 0, Down);
    menus::link(*this, 5, 1, Down);
    // The arrows' outer sides lead to the buttons under them.
    for (int arrow : {0, 2})
        if (widget(arrow) && widget(4)) navigation[arrow][Left] = 4;
    for (int arrow : {1, 3})
        if (widget(arrow) && widget(5)) navigation[arrow][Right] = 5;
}

void MenuSelectLevel::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"GEN_BACK", "GEN_ACCEPT"}, 4);
}

void MenuSelectLevel::showFlag(int64_t index) {
    ProgressRecord* progress = GameWide<ProgressRecord>::get();
    flagCount = progress ? static_cast<uint32_t>(progress->flags.size()) : 0;
    if (flagCount == 0) {
        flagIndex = 0;
        flagText->setString(160, 85, "", TextLine::Centre);
        return;
    }
    flagIndex = wrapped(index, flagCount);
    progress->currentFlag = flagIndex;
    flagText->setString(static_cast<int16_t>(logicalWidth / 2), 85, progress->flags[flagIndex].name,
                        TextLine::Centre);
}

void MenuSelectLevel::showLevel(int64_t index) {
    ProgressRecord* progress = GameWide<ProgressRecord>::get();
    levelCount = progress ? static_cast<uint32_t>(progress->levels.size()) : 0;
    if (levelCount == 0) {
        levelIndex = 0;
        levelText->setString(160, 145, "", TextLine::Centre);
        marks.show(nullptr, false);
        return;
    }
    levelIndex = wrapped(index, levelCount);
    progress->currentLevel = levelIndex;
    levelText->setString(static_cast<int16_t>(logicalWidth / 2), 145,
                         menus::levelDisplayName(progress->levels[levelIndex]), TextLine::Centre);
    marks.show(&progress->levels[levelIndex], progress->isPainted(levelIndex));
}

void MenuSelectLevel::enter() {
    menus::startMenuMusic();
    Menu::enter();
    // The lists may have changed size since the last visit (a second read adds nothing, but the
    // main menu's start resets progress): show what is chosen now.
    const ProgressRecord* progress = GameWide<ProgressRecord>::get();
    showFlag(progress ? progress->currentFlag : 0);
    showLevel(progress ? progress->currentLevel : 0);
}

void MenuSelectLevel::handleInput() {
    Menu::handleInput();
    const InputState* input = GameWide<InputState>::get();
    if (input && input->backPressed && state == Running && !pressPending)
        requestExit(menus::kSwitchOn, kMainScene);
}

void MenuSelectLevel::navigate(uint8_t direction) {
    // A keyboard player steps through the choices with the keys that point the way, as the arrows
    // on the screen do; walking from one arrow to the other would change nothing. The focus goes
    // to the arrow of the step, so Return repeats it.
    const bool flagRow = focused == 0 || focused == 1, levelRow = focused == 2 || focused == 3;
    if ((direction != Left && direction != Right) || (!flagRow && !levelRow)) {
        Menu::navigate(direction);
        return;
    }
    const int step = direction == Right ? 1 : -1;
    if (flagRow)
        showFlag(int64_t(flagIndex) + step);
    else
        showLevel(int64_t(levelIndex) + step);
    setFocus(static_cast<int16_t>((levelRow ? 2 : 0) + (direction == Right ? 1 : 0)));
}

void MenuSelectLevel::onAction(int16_t) {
    switch (focused) {
    case 0:
        showFlag(int64_t(flagIndex) - 1);
        break;
    case 1:
        showFlag(int64_t(flagIndex) + 1);
        break;
    case 2:
        showLevel(int64_t(levelIndex) - 1);
        break;
    case 3:
        showLevel(int64_t(levelIndex) + 1);
        break;
    case 4:
        requestExit(menus::kSwitchOn, kMainScene);
        break;
    case 5:
        // Nothing to brief without a level and a flag to play it with.
        if (levelCount > 0 && flagCount > 0) requestExit(menus::kSwitchOn, kBriefingScene);
        break;
    default:
        break;
    }
}

void MenuSelectLevel::switchScene() {
    if (switchRequested == menus::kSwitchOn) {
        if (ProgressRecord* progress = GameWide<ProgressRecord>::get())
            progress->chooseLevel(levelIndex, flagIndex);
    }
    menus::commonSwitch(*this, switchRequested);
}

void MenuSelectLevel::drawOver(uint8_t phase) {
    if (phase != RunningPhase) return;
    if (flagCount > 0) menus::drawFlag(menus::currentFlag(), static_cast<int16_t>(logicalWidth / 2 - 25), 50);
    flagText->draw(false);
    levelText->draw(false);
    marks.draw(*levelText, logicalWidth);
}

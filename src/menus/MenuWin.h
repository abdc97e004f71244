#pragma once
// MenuWin — the win screen (scene 10): how many creatures there were and how many were lost, the
// country and the flag, then the main menu or the selection.
//
// Owns: nothing beyond its scene file. Never: writes into an element that is not a text box.
// On failure: with no level or flag the names stay empty and no flag is drawn.
#include "menus/MenuScreen.h"

struct Flag;

class MenuWin final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF2D2D7B;

    MenuWin() : MenuScreen(kClearColour) {}

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuWin"; }
    void loadScene() override;
    void placeForEntry() override;
    void onAction(int16_t code) override;
    void drawOver(uint8_t phase) override;

    // The flag's name as the win screen shows it: its first " Flag" removed.
    static std::string countryOfFlag(const std::string& flagName);

    const Flag* shownFlag = nullptr;
};

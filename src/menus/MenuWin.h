#pragma once
// MenuWin — the win screen (scene 10): how many creatures there were and how many were lost, the
// country and the flag, then the main menu, the selection, or the briefing of the next country
// not yet painted.
//
// Owns: nothing beyond its scene file. Never: writes into an element that is not a text box;
// offers a next country when every country is painted.
// On failure: with no level or flag the names stay empty and no flag is drawn; with nothing left
// to paint the next-country button is disabled.
#include <cstdint>

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
    void switchScene() override;
    void drawOver(uint8_t phase) override;

    // The flag's name as the win screen shows it: its first " Flag" removed.
    static std::string countryOfFlag(const std::string& flagName);

    const Flag* shownFlag = nullptr;
    // The level the next-country button leads to, -1 when every one is painted.
    int64_t nextLevel = -1;
};

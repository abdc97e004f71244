#pragma once
// MenuCredits — the credits (scene 13): who made the game and the open data it stands on, typed line by line
// each time the screen opens, then back to the main menu.
//
// Owns: nothing beyond its scene file. Never: moves focus (one button, no neighbours).
// On failure: a scene file without its button leaves a screen that only the fade-out leaves.
#include <vector>

#include "menus/MenuScreen.h"

class MenuCredits final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF57577B;

    MenuCredits() : MenuScreen(kClearColour) {}

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuCredits"; }
    void placeForEntry() override;
    void onAction(int16_t code) override;

    // Typing delay per element as the scene file set it (0 for elements that are not typed text
    // boxes): entering rebuilds the boxes' lines untyped, and the reveal restarts from these.
    std::vector<uint16_t> typingDelays;
};

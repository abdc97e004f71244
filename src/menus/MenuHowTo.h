#pragma once
// MenuHowTo — how to play (scene 12): the controls and the goal, shown at once, then back to the main
// menu.
//
// Owns: nothing beyond its scene file. Never: moves focus (one button, no neighbours).
// On failure: a scene file without its button leaves a screen that only the fade-out leaves.
#include "menus/MenuScreen.h"

class MenuHowTo final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF57577B;

    MenuHowTo() : MenuScreen(kClearColour) {}

    void load() override;
    const char* className() const override { return "MenuHowTo"; }
    void placeForEntry() override;
    void onAction(int16_t code) override;
};

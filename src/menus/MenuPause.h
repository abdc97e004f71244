#pragma once
// MenuPause — the pause menu (scene 11), laid over a level: resume, restart, options, main menu,
// quit.
//
// Owns: nothing beyond its scene file. Never: stops the music on entry (only the looping
// effects, the brush noise, which would otherwise drone on under the menu).
// On failure: a short scene file leaves the missing buttons out of the navigation.
#include "menus/MenuScreen.h"

class MenuPause final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF2D2D7B;

    MenuPause() : MenuScreen(kClearColour) {}

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuPause"; }
    void loadScene() override;
    void placeForEntry() override;
    void switchScene() override;
    void onAction(int16_t code) override;
};

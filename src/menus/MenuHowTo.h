#pragma once
// MenuHowTo — how to play (scene 12): the controls and the goal, shown at once, then back to the main
// menu.
//
// Owns: nothing beyond its scene file. Never: moves focus (one button, no neighbours).
// On failure: a scene file without its button leaves a screen that only the fade-out leaves.
#include <vector>

#include "menus/Menu.h"

class MenuHowTo final : public Menu {
  public:
    static constexpr uint32_t kClearColour = 0xFF57577B;

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuHowTo"; }
    void placeForEntry() override;
    void switchScene() override;
    void onAction(int16_t code) override;
    void drawFadeIn() override;
    void drawRunning() override;
    void drawFadeOut() override;
};

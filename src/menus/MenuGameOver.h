#pragma once
// MenuGameOver — the game-over screen (scene 9): the flag crossed out, then the main menu or
// another try at the same level.
//
// Owns: nothing beyond its scene file (the cross picture belongs to the texture store).
// Never: indexes an empty flag list.
// On failure: a missing cross picture or flag leaves its place empty.
#include "menus/MenuScreen.h"

struct Flag;

class MenuGameOver final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF57577B;
    static constexpr const char* kCrossPicture = "Assets/graphics/anti.png";

    MenuGameOver() : MenuScreen(kClearColour) {}

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuGameOver"; }
    void loadScene() override;
    void placeForEntry() override;
    void onAction(int16_t code) override;
    void drawOver(uint8_t phase) override;

    int32_t crossTexture = -1;
    uint16_t crossWidth = 0, crossHeight = 0;
    const Flag* shownFlag = nullptr;
};

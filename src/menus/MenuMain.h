#pragma once
// MenuMain — the main menu (scene 6): start, how to play, options, credits, exit, how many of the
// countries are painted, and the counts of countries and flags found.
//
// Owns: the three count lines. Never: starts a game without a level and a flag to play.
// On failure: with no level or no flag the start button is disabled and the count line says so
// in the warning colour; a short scene file leaves the missing buttons out of the navigation.
#include <memory>

#include "menus/MenuScreen.h"
#include "text/TextLine.h"

class MenuMain final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF2D2D7B;
    static constexpr uint32_t kCountBoxColour = 0xAF4477BB;

    MenuMain();

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuMain"; }
    void loadScene() override;
    void placeForEntry() override;
    void handleInput() override;
    void switchScene() override;
    void onAction(int16_t code) override;
    void drawOver(uint8_t phase) override;

    // Start is offered only with at least one level and one flag.
    bool canStart() const;

    std::unique_ptr<TextLine> levelsText;
    std::unique_ptr<TextLine> flagsText;
    // "Countries painted: N of M", on its own band above the counts; only with levels to paint.
    std::unique_ptr<TextLine> paintedText;
    static constexpr int16_t kPaintedY = 162;
};

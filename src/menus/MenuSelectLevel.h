#pragma once
// MenuSelectLevel — the level selection (scene 7): a flag and a country are picked with arrows,
// then the briefing follows. Beside the country's name stand its stamp and, once painted, a seal.
//
// Owns: the two name lines and the country's marks. Never: indexes or wraps an empty list; goes on to the
// briefing without a level and a flag. On failure: with an empty flag or level list its name line stays empty
// and its arrows change nothing; a missing flag picture leaves its place empty.
#include <memory>

#include "menus/CountryMarks.h"
#include "menus/MenuScreen.h"
#include "text/TextLine.h"

class MenuSelectLevel final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF2D2D7B;

    MenuSelectLevel();

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuSelectLevel"; }
    void loadScene() override;
    void placeForEntry() override;
    void handleInput() override;
    // Left and Right on a row of arrows change that row's flag or country; elsewhere as Menu.
    void navigate(uint8_t direction) override;
    void switchScene() override;
    void onAction(int16_t code) override;
    void drawOver(uint8_t phase) override;

    // Shows the flag `index` (wrapping either way); nothing with no flags.
    void showFlag(int64_t index);
    void showLevel(int64_t index);

    uint32_t flagCount = 0, flagIndex = 0;
    uint32_t levelCount = 0, levelIndex = 0;
    std::unique_ptr<TextLine> flagText;
    std::unique_ptr<TextLine> levelText;
    CountryMarks marks;
};

#pragma once
// MenuScreen — a menu drawn into the game screen: the scene base leaves the window bound, so each
// of the three phases binds the game screen (and clears it to the menu's colour when it has one),
// draws the menu, then what the concrete menu lays over it, then the fade curtain or the button
// tips.
//
// Owns: the clear colour. Never: clears a screen for a menu made without a colour (it draws over
// what is there).
// On failure: without a renderer nothing is bound or cleared and the menu draws as Menu does.
#include <cstdint>
#include <optional>
#include <string>

#include "menus/Menu.h"

class MenuScreen : public Menu {
  public:
    explicit MenuScreen(std::optional<uint32_t> clearColour) : clearColour(clearColour) {}

    void drawFadeIn() override;
    void drawRunning() override;
    void drawFadeOut() override;
    // The common switch (MenuSupport) in the mode asked for.
    void switchScene() override;

    const std::optional<uint32_t> clearColour;

  protected:
    // Sets the scene file and the three sounds (none by default), loads, and takes the mouse.
    void loadScreen(const std::string& file, const std::string& move = {}, const std::string& confirm = {},
                    const std::string& cancel = {});
    // What the menu lays over its elements in `phase` (Menu::FadeInPhase ..), under the curtain.
    virtual void drawOver(uint8_t phase);

  private:
    void prepareScreen();
};

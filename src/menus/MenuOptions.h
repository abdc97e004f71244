#pragma once
// MenuOptions — the options (scene 2), reached from the main menu and the pause menu: full screen,
// music and effect volumes, language; defaults, cancel, accept.
//
// Owns: the values being edited and the values it opened with. Never: clears the screen (its
// first layer covers it); changes the window mode (that happens at the next start).
// On failure: a widget of the wrong kind or missing at index 0-3 is left alone and its value is
// kept as it was; a missing "config.ini" gives the defaults, which are then written.
#include <cstdint>

#include "menus/MenuScreen.h"

class MenuOptions final : public MenuScreen {
  public:
    static constexpr const char* kMoveSound = "Sound/cursormove22.wav";
    static constexpr const char* kConfirmSound = "Sound/cursorok22.wav";
    static constexpr const char* kCancelSound = "Sound/cursorcancel22.wav";

    MenuOptions() : MenuScreen(std::nullopt) {}

    void load() override;
    void enter() override;
    void refreshTexts() override;
    const char* className() const override { return "MenuOptions"; }
    void loadScene() override;
    void placeForEntry() override;
    void updateFadeIn() override;
    void updateRunning() override;
    void handleInput() override;
    void switchScene() override;
    void onAction(int16_t code) override;

    // The widgets 0-3 when the scene file made them with the right kind; else null.
    GUIElement* fullscreenSwitch() const;
    GUIElement* musicSlider() const;
    GUIElement* effectSlider() const;
    GUIElement* languageSelector() const;

    uint8_t fullscreen = 1;
    uint16_t musicVolume = 128;
    uint16_t effectVolume = 128;
    uint32_t language = 0;
    uint8_t savedFullscreen = 1;
    uint16_t savedMusicVolume = 128;
    uint16_t savedEffectVolume = 128;
    uint32_t savedLanguage = 0;

  private:
    void setWidgetsFromValues();
    void applyValues();
    void takeRecordValues();
    void restoreSaved();
    GUIElement* widgetOfKind(int index, int kind) const;
};

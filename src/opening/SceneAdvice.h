#pragma once
// SceneAdvice — scene 3: one paged text from the game texts on black, turned page by page by the
// player; on the very first run it stands before the logos with "INTRO_ALERT".
//
// Owns: its text box. Never: leaves by itself; only a confirm on the last page leaves, for
// `adviceNext`. Back does not confirm here.
// On failure: an unknown key or a missing font shows an empty page, which a confirm still leaves.
#include <cstdint>
#include <memory>
#include <string>

#include "core/Scene.h"

class TextBox;

class SceneAdvice final : public Scene {
  public:
    SceneAdvice();
    ~SceneAdvice() override;

    const char* className() const override { return "SceneAdvice"; }
    void load() override;
    void enter() override;
    void updateFadeIn() override;
    void updateRunning() override;
    void updateFadeOut() override;
    void handleInput() override;
    void switchScene() override;
    void drawFadeIn() override;
    void drawRunning() override;
    void drawFadeOut() override;

    // Accept, or any mouse button held or pressed this frame.
    static bool confirmed();

    std::unique_ptr<TextBox> textBox;
    std::string adviceKey;
    uint32_t adviceNext = 0;

  private:
    void drawPage();
};

#pragma once
// SceneLogo — a logo shown centred on a plain colour for about three seconds, then the next scene
// of the opening. Scene 4 (the studio logo, with its jingle) and scene 5 (the second logo) are
// its two kinds.
//
// Owns: the time it has been shown. Never: chooses where it leads; each kind has one fixed next
// scene, whatever number its exit asked for.
// On failure: a missing logo picture leaves the plain colour; a jingle that cannot play is -1.
#include <cstdint>
#include <string>

#include "core/Scene.h"

class SceneLogo : public Scene {
  public:
    // A logo stays this long (running, between the fades) unless the player confirms sooner.
    static constexpr int32_t kShowMs = 3001;

    SceneLogo(std::string logoPath, uint32_t clearArgb, uint16_t next);

    void load() override;
    void updateFadeIn() override;
    void updateRunning() override;
    void updateFadeOut() override;
    void handleInput() override;
    void switchScene() override;
    void drawFadeIn() override;
    void drawRunning() override;
    void drawFadeOut() override;

    // Accept, back or any mouse button, held or pressed this frame.
    static bool confirmed();

    int32_t shownTime = 0;
    int32_t logoTexture = -1;
    ClipRect logoClip;

  protected:
    // Called once when the fade-in ends, early or not.
    virtual void onShown() {}
    // Called when the logo hands over to its next scene.
    virtual void onLeave() {}

  private:
    std::string logoPath_;
    uint32_t clearArgb_;
    uint16_t next_;
};

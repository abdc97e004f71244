#pragma once
#include <cstdint>
#include <functional>

#include "core/Scene.h"

// Holds a scene slot until the real scene is written: a black screen that runs, takes the
// fade timings of its slot, and goes on to the scene its caller names when asked to leave.
// A stand-in may also hand over by itself: after `handOverMs` of running, or at once when the
// player presses accept, escape or a mouse button, it leaves for `handOverScene`, calling
// `beforeHandOver` first (so the start-up path reaches a playable level before the menus exist).
class SceneStandIn final : public Scene {
  public:
    SceneStandIn(int32_t fadeInMs, int32_t fadeOutMs);

    const char* className() const override { return "SceneStandIn"; }
    void drawFadeIn() override {}
    void drawRunning() override {}
    void drawFadeOut() override {}
    void updateFadeIn() override { advanceFadeIn(); }
    void updateRunning() override;
    void updateFadeOut() override { advanceFadeOut(); }
    void switchScene() override { switchToNextScene(); }
    void enter() override;

    int32_t handOverScene = -1;
    uint32_t handOverMs = 0xFFFFFFFFu;
    std::function<void()> beforeHandOver;

  private:
    uint32_t runningMs_ = 0;
};

#pragma once
#include <cstdint>

#include "core/Scene.h"

// Holds a scene slot until the real scene is written: a black screen that runs, takes the
// fade timings of its slot, and goes on to the scene its caller names when asked to leave.
class SceneStandIn final : public Scene {
  public:
    SceneStandIn(int32_t fadeInMs, int32_t fadeOutMs);

    const char* className() const override { return "SceneStandIn"; }
    void drawFadeIn() override {}
    void drawRunning() override {}
    void drawFadeOut() override {}
    void updateFadeIn() override { advanceFadeIn(); }
    void updateRunning() override { handleInput(); }
    void updateFadeOut() override { advanceFadeOut(); }
    void switchScene() override { switchToNextScene(); }
};

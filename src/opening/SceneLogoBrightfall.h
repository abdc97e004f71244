#pragma once
// SceneLogoBrightfall — scene 5: the second logo on black, then the main menu (scene 6).
#include "core/SceneManager.h"
#include "opening/SceneLogo.h"

class SceneLogoBrightfall final : public SceneLogo {
  public:
    SceneLogoBrightfall() : SceneLogo("Assets/menu_backgrounds/brightfalllogo.png", 0u, kMainScene) {}

    const char* className() const override { return "SceneLogoBrightfall"; }
};

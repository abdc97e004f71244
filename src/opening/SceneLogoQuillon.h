#pragma once
// SceneLogoQuillon — scene 4: the studio's logo on white with its jingle, then the second logo.
//
// Owns: the jingle sound (loaded when built, unloaded when destroyed) and the channel it plays
// on. Never: stops a channel that no longer plays its jingle.
#include <cstdint>

#include "opening/SceneLogo.h"

class SceneLogoQuillon final : public SceneLogo {
  public:
    static constexpr const char* kJingle = "Sound/intro_2.ogg";

    SceneLogoQuillon();
    ~SceneLogoQuillon() override;

    const char* className() const override { return "SceneLogoQuillon"; }

    int32_t jingleChannel = -1;

  protected:
    void onShown() override;
    void onLeave() override;
};

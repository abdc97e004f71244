#pragma once
// ScenePong — scene 0: a paddle-ball game over a rolling grid, lit by coloured lights whose
// shadows fall from twenty random blocks. Nothing in the game switches to it; leaving it ends the
// program.
//
// Owns: its PongTable and the light square (where the mouse light stands). Never: switches to
// another scene; it only ends the game.
// On failure: a missing picture or effect program draws nothing in its place; the game still runs.
#include <cstdint>

#include "core/Scene.h"
#include "opening/PongTable.h"

class ScenePong final : public Scene {
  public:
    ScenePong();

    const char* className() const override { return "ScenePong"; }
    void load() override;
    void enter() override;
    void updateFadeIn() override;
    void updateRunning() override;
    void updateFadeOut() override;
    void handleInput() override;
    void drawFadeIn() override;
    void drawRunning() override;
    void drawFadeOut() override;

    // One light of `argb` centred at (x, y): the blocks go into the occlusion map around it, then
    // the light is added to the game screen with their shadows.
    void drawLightWithShadows(int32_t x, int32_t y, uint32_t argb);
    // Centres the light square on the player's pointer, mapped from window to logical pixels.
    void followPointer();

    PongTable table;
    int32_t flipTexture = -1;
    int32_t effectShader = -1;
    PongRect lightSquare;
    float occluderScale[2] = {1.0f, 1.0f};

  private:
    void drawScore(uint32_t score, int x, int y);
    void drawLights();
};

#pragma once
// Camera — which part of the level the 320x200 screen shows. The level only makes CameraMouse.
//
// Owns: the view and its target, the scroll limits and speeds. Reads the scene's pointer through
// pointers to its two coordinates. Never: draws or moves anything but its view.
#include <cstdint>

class Camera {
  public:
    Camera() = default;
    virtual ~Camera() = default;
    // Never called by the game: keeps the view on a point of the level.
    virtual void attach(int32_t px, int32_t py);
    virtual void update() {}
    virtual bool isKindOf(int kind) const { return kind == 4; }

    // The view put on a spawn point: centred on it (6 pixels above the feet), clamped to the level.
    void placeOn(int32_t startX, int32_t startY);

    uint8_t active = 1;
    uint16_t levelWidth = 0, levelHeight = 0;
    uint16_t viewWidth = 320, viewHeight = 200;
    int32_t targetX = 0, targetY = 0;
    int32_t viewX = 0, viewY = 0;
    int16_t speedLimitX = 20, speedLimitY = 15;
    int16_t speedX = 20, speedY = 15;
    // The scene's pointer, logical screen pixels; null reads as the middle of the view.
    const int32_t* pointerX = nullptr;
    const int32_t* pointerY = nullptr;

  protected:
    static int32_t clampView(int32_t value, int32_t levelSide, int32_t viewSide);
};

class CameraMouse final : public Camera {
  public:
    void update() override;
    bool isKindOf(int kind) const override { return kind == 4 || kind == 5; }
};

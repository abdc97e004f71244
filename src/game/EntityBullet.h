#pragma once
// EntityBullet — a moving strip animation with an age and a light halo. The pool exists; nothing
// in the game fires one yet.
#include "game/EntityObject.h"

class EntityBullet : public EntityObject {
  public:
    EntityBullet(const std::string& imagePath, uint16_t frameWidth, uint16_t frameHeight, int32_t x,
                 int32_t y)
        : EntityObject(imagePath, frameWidth, frameHeight, x, y) {}

    void drawLight(CameraPoint camera) override;
    void update() override;
    const char* className() const override { return "EntityBullet"; }
    bool isKindOf(int kind) const override { return kind == 14 || kind == 15 || kind == 17; }
    void setBounds(int32_t atX, int32_t atY) override {
        boundsX = atX;
        boundsY = atY;
    }
    void animate() override {
        advanceFrame();
        applyFrame();
    }
    void advanceFrame() override;
    void applyFrame() override;

    uint32_t age = 0;
    uint32_t lifetimeMs = 5000;
    int16_t velocityX = 0, velocityY = 0;
    uint16_t angle = 0;
    uint8_t row = 0;
};

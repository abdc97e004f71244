#pragma once
// EntityObject — an entity that plays a strip of frames from its sheet: the level's doors.
//
// Owns: its frame clock and its position in thousandths of a pixel as well as in pixels.
// Never: moves by itself. On failure: without a texture it has no frames and draws nothing.
#include "game/Entity.h"

class EntityObject : public Entity {
  public:
    EntityObject(const std::string& imagePath, uint16_t frameWidth, uint16_t frameHeight, int32_t x,
                 int32_t y);

    void draw(CameraPoint camera) override;
    void update() override;
    void setX(int32_t value) override;
    void setY(int32_t value) override;
    const char* className() const override { return "EntityObject"; }
    bool isKindOf(int kind) const override { return kind == 14 || kind == 17; }
    void animate() override;
    virtual void setFlag(uint8_t value) { flag = value; }

    int32_t xMilli = 0, yMilli = 0;
    uint8_t flag = 0;
    int32_t frame = 0;
    uint32_t frameMs = 150;
    uint32_t frameClock = 0;
    int16_t frameCount = 0;
    uint8_t loop = 1;
    uint8_t randomFrame = 0;
    int32_t randomRows = 0;
    uint8_t playing = 1;
};

#include "game/EntityObject.h"

#include <cstdlib>

#include "base/FrameClock.h"

EntityObject::EntityObject(const std::string& imagePath, uint16_t frameW, uint16_t frameH, int32_t atX,
                           int32_t atY)
    : Entity(imagePath, frameW, frameH, atX, atY), xMilli(atX * 1000), yMilli(atY * 1000) {
    int width = 0, height = 0;
    textureSize(texture, &width, &height);
    frameCount = static_cast<int16_t>(frameW > 0 ? width / frameW : 0);
}

void EntityObject::draw(CameraPoint camera) {
    Entity::draw(camera);
}

void EntityObject::update() {
    setBounds(x, y);
    animate();
    Entity::update();
}

void EntityObject::setX(int32_t value) {
    x = value;
    xMilli = value * 1000;
}

void EntityObject::setY(int32_t value) {
    y = value;
    yMilli = value * 1000;
}

void EntityObject::animate() {
    if (!playing) return;
    frameClock += frameDeltaMs;
    if (frameClock < frameMs) return;
    if (randomFrame) {
        frame = frameCount > 0 ? std::rand() % frameCount : 0;
    } else {
        ++frame;
        if (frame >= frameCount) {
            if (!loop) {
                playing = 0;
                frame = frameCount - 1;
                return;
            }
            frame = 0;
            if (randomRows != 0) frameY = frameHeight * (std::rand() % randomRows);
        }
    }
    frameX = frame < 0 ? 0 : frameWidth * frame;
    frameClock = 0;
}

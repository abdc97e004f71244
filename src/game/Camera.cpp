#include "game/Camera.h"

#include <cmath>

#include "base/FrameClock.h"

int32_t Camera::clampView(int32_t value, int32_t levelSide, int32_t viewSide) {
    if (value > levelSide - viewSide) value = levelSide - viewSide;
    if (value < 0) value = 0;
    return value;
}

void Camera::attach(int32_t px, int32_t py) {
    placeOn(px, py);
}

void Camera::placeOn(int32_t startX, int32_t startY) {
    viewX = clampView(startX - viewWidth / 2, levelWidth, viewWidth);
    viewY = clampView(startY - 6 - viewHeight / 2, levelHeight, viewHeight);
    targetX = viewX;
    targetY = viewY;
}

namespace {
// Steps 1, 3, 4 and 5 along one axis.
void pushTarget(int32_t p, uint16_t side, int32_t& target, int16_t& speed) {
    if (p > side - 10) target += 1;
    if (p < 10)
        target -= 1;
    else if (p <= side - 10)
        speed = 0;
}

void approach(int16_t& speed, int16_t limit, int16_t step) {
    if (speed > limit)
        speed = static_cast<int16_t>(speed - step < limit ? limit : speed - step);
    else if (speed < limit)
        speed = static_cast<int16_t>(speed + step > limit ? limit : speed + step);
}

int32_t glide(int32_t view, int32_t target, int16_t speed, uint32_t dt) {
    const uint32_t w = static_cast<uint32_t>(speed) * dt * 1000u / 17000u;
    const float f = (static_cast<float>(1000 - static_cast<int64_t>(w)) * static_cast<float>(view) +
                     static_cast<float>(w) * static_cast<float>(target)) /
                    1000.0f;
    const float whole = std::trunc(f);
    if (f < whole) return static_cast<int32_t>(whole);
    int32_t next = static_cast<int32_t>(std::trunc(f + 1));
    if (next > target) next -= 1;
    return next;
}
} // namespace

void CameraMouse::update() {
    if (!active) return;
    const uint32_t dt = frameDeltaMs;
    const int32_t px = pointerX ? *pointerX : viewWidth / 2;
    const int32_t py = pointerY ? *pointerY : viewHeight / 2;
    pushTarget(px, viewWidth, targetX, speedX);
    pushTarget(py, viewHeight, targetY, speedY);
    targetX = clampView(targetX, levelWidth, viewWidth);
    targetY = clampView(targetY, levelHeight, viewHeight);
    int16_t step = static_cast<int16_t>(dt * 5000 / 17000);
    if (step < 1) step = 1;
    approach(speedX, speedLimitX, step);
    approach(speedY, speedLimitY, step);
    viewX = clampView(glide(viewX, targetX, speedX, dt), levelWidth, viewWidth);
    viewY = clampView(glide(viewY, targetY, speedY, dt), levelHeight, viewHeight);
}

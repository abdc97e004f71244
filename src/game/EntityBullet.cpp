#include "game/EntityBullet.h"

#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"

void EntityBullet::update() {
    xMilli += velocityX * static_cast<int32_t>(frameDeltaMs);
    yMilli += velocityY * static_cast<int32_t>(frameDeltaMs);
    x = xMilli / 1000;
    y = yMilli / 1000;
    age += frameDeltaMs;
    animate();
    setBounds(x, y);
}

void EntityBullet::advanceFrame() {
    frameClock += frameDeltaMs;
    if (frameClock < frameMs) return;
    ++frame;
    frameClock = 0;
    if (frame >= frameCount) frame = 0;
}

void EntityBullet::applyFrame() {
    frameX = frameWidth * frame;
    frameY = row * frameHeight;
}

void EntityBullet::drawLight(CameraPoint camera) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    TextureRecord* halo = store ? store->texture(haloTexture) : nullptr;
    if (!halo) return;
    const uint32_t mode = halo->blendMode;
    halo->blendMode = 0;
    halo->colour[0] = halo->colour[1] = 1;
    halo->colour[2] = 0;
    drawTexture(haloTexture, {0, 0, static_cast<uint16_t>(halo->width), static_cast<uint16_t>(halo->height)},
                static_cast<int16_t>(x + frameWidth / 2 - halo->width / 2 - camera.x),
                static_cast<int16_t>(y + frameHeight / 2 - camera.y - halo->height / 4), 0,
                static_cast<uint16_t>(halo->width), static_cast<uint16_t>(halo->height / 2), nullptr, 0, 255);
    halo->colour[2] = 1;
    halo->blendMode = mode;
}

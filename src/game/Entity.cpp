#include "game/Entity.h"

#include <algorithm>

#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"

namespace {
uint32_t serial = 0;

int32_t textureOf(const std::string& path) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    return store ? store->getOrLoadTexture(path) : -1;
}
} // namespace

uint32_t Entity::lastId() {
    return serial;
}

std::string Entity::lightsPathFor(const std::string& imagePath) {
    const std::string base = imagePath.size() < 4 ? imagePath : imagePath.substr(0, imagePath.size() - 4);
    return base + "_lights.png";
}

void Entity::textureSize(int32_t index, int* width, int* height) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    const TextureRecord* record = store ? store->texture(index) : nullptr;
    *width = record ? record->width : 0;
    *height = record ? record->height : 0;
}

Entity::Entity(const std::string& imagePath, uint16_t frameW, uint16_t frameH, int32_t atX, int32_t atY)
    : frameWidth(frameW), frameHeight(frameH), x(atX), y(atY), id(++serial), boundsX(atX), boundsY(atY),
      boundsWidth(frameW), boundsHeight(frameH) {
    const bool hasImage = imagePath != kNoImage;
    texture = hasImage ? textureOf(imagePath) : -1;
    haloTexture = textureOf(kHaloImage);
    int haloW = 0, haloH = 0;
    textureSize(haloTexture, &haloW, &haloH);
    const int haloSide = std::max(haloW, haloH);
    haloScale =
        haloSide > 0 ? static_cast<float>(std::max(frameW, frameH)) / static_cast<float>(haloSide) : 0;
    if (hasImage) {
        lightsTexture = textureOf(lightsPathFor(imagePath));
        hasLights = lightsTexture != -1;
    }
}

// A copy is a new entity: its own serial number, no parent, no children (the bullet pool copies
// its template this way).
Entity::Entity(const Entity& other)
    : frameX(other.frameX), frameY(other.frameY), frameWidth(other.frameWidth),
      frameHeight(other.frameHeight), texture(other.texture), x(other.x), y(other.y), id(++serial),
      active(other.active), boundsX(other.boundsX), boundsY(other.boundsY), boundsWidth(other.boundsWidth),
      boundsHeight(other.boundsHeight), tag(other.tag), marginX(other.marginX), marginY(other.marginY),
      lightsTexture(other.lightsTexture), haloTexture(other.haloTexture), haloScale(other.haloScale),
      lightIntensity(other.lightIntensity), alpha(other.alpha), hasLights(other.hasLights),
      hidden(other.hidden) {}

Entity::~Entity() {
    if (parent) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Entity* child : children)
        child->parent = nullptr;
}

void Entity::addChild(Entity* child) {
    if (!child || child == this) return;
    if (child->parent) {
        auto& siblings = child->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
    }
    child->parent = this;
    children.push_back(child);
}

ClipRect Entity::sourceRect() const {
    const int32_t column = frameWidth ? frameX / frameWidth : 0;
    const int32_t row = frameHeight ? frameY / frameHeight : 0;
    return {frameX + (2 * column + 1) * marginX, frameY + (2 * row + 1) * marginY, frameWidth, frameHeight};
}

void Entity::draw(CameraPoint camera) {
    if (hidden || texture < 0) return;
    drawSprite(texture, sourceRect(), static_cast<int16_t>(x - camera.x), static_cast<int16_t>(y - camera.y));
}

void Entity::drawFaded(CameraPoint camera, uint8_t fade) {
    drawSpriteAlpha(texture, sourceRect(), static_cast<int16_t>(x - camera.x),
                    static_cast<int16_t>(y - camera.y), fade);
}

void Entity::update() {
    // A child may deactivate itself while updating, which changes the list: walk a copy.
    const std::vector<Entity*> current = children;
    for (Entity* child : current)
        if (child->active) child->update();
    if (alpha < 255)
        alpha = static_cast<int16_t>(std::min<int32_t>(255, alpha + static_cast<int32_t>(frameDeltaMs)));
}

bool Entity::intersects(const ClipRect& r) const {
    return boundsX < r.x + r.w && r.x < boundsX + boundsWidth && boundsY < r.y + r.h &&
           r.y < boundsY + boundsHeight;
}

void Entity::setActive(bool value) {
    active = value ? 1 : 0;
    if (value || !parent) return;
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    parent = nullptr;
}

void Entity::setBounds(int32_t atX, int32_t atY) {
    boundsX = atX;
    boundsY = atY;
    boundsWidth = frameWidth;
    boundsHeight = frameHeight;
}

#pragma once
// Entity — the base of everything placed in a level: creatures, doors, bullets.
//
// Owns: its frame rectangle, position, bounds and its child list (the children themselves belong
// to whoever made them). Textures are the store's, held by index.
// Never: updates or draws by itself; its owner calls update and draw once a frame.
// On failure: a missing sheet gives texture -1, and the entity then draws nothing; a missing halo
// gives scale 0 rather than a division by a zero size.
#include <cstdint>
#include <string>
#include <vector>

#include "base/ClipRect.h"

// The level view's top-left corner, in level pixels.
struct CameraPoint {
    int32_t x = 0;
    int32_t y = 0;
};

class Entity {
  public:
    static constexpr const char* kNoImage = "Assets/graphics/0";
    static constexpr const char* kHaloImage = "Assets/graphics/lighthalo.png";

    Entity(const std::string& imagePath, uint16_t frameWidth, uint16_t frameHeight, int32_t x, int32_t y);
    virtual ~Entity();
    Entity(const Entity& other);
    Entity& operator=(const Entity&) = delete;

    virtual void reserved1() {}
    virtual void drawLight(CameraPoint) {}
    virtual void draw(CameraPoint camera);
    virtual void drawFaded(CameraPoint camera, uint8_t alpha);
    virtual void update();
    virtual void reserved6() {}
    virtual void setX(int32_t value) { x = value; }
    virtual void setY(int32_t value) { y = value; }
    virtual void centreOnX(int32_t v) { x += v - boundsWidth / 2 - boundsX; }
    virtual int32_t getX() const { return x; }
    virtual int32_t getY() const { return y; }
    virtual bool intersects(const ClipRect& r) const;
    virtual void setActive(bool value);
    virtual const char* className() const { return "Entity"; }
    virtual bool isKindOf(int kind) const { return kind == 14; }
    virtual ClipRect getBounds() const { return {boundsX, boundsY, boundsWidth, boundsHeight}; }
    virtual void setBounds(int32_t atX, int32_t atY);
    virtual void animate() {}
    virtual void chooseAnimation() {}
    virtual void advanceFrame() {}
    virtual void applyFrame() {}
    virtual uint32_t getTag() const { return tag; }

    void addChild(Entity* child);
    // The framed source rectangle of the current frame.
    ClipRect sourceRect() const;
    // Process-wide serial counter; tests may look at it.
    static uint32_t lastId();

    int32_t frameX = 0, frameY = 0;
    uint16_t frameWidth = 0, frameHeight = 0;
    int32_t texture = -1;
    int32_t x = 0, y = 0;
    Entity* parent = nullptr;
    std::vector<Entity*> children;
    uint32_t id = 0;
    uint8_t active = 1;
    int32_t boundsX = 0, boundsY = 0;
    uint16_t boundsWidth = 0, boundsHeight = 0;
    uint32_t tag = 0;
    int32_t marginX = 0, marginY = 0;
    int32_t lightsTexture = -1;
    int32_t haloTexture = -1;
    float haloScale = 0;
    float lightIntensity = 1.0f;
    int16_t alpha = 255;
    uint8_t hasLights = 0;
    uint8_t hidden = 0;

    // The lights texture's name for a sheet: the path less its last four characters (the whole
    // path when shorter) followed by "_lights.png".
    static std::string lightsPathFor(const std::string& imagePath);

  protected:
    // The store's texture size, 0 x 0 when it has none.
    static void textureSize(int32_t texture, int* width, int* height);
};

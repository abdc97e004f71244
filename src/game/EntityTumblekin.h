#pragma once
// EntityTumblekin — the walking creature: the player's leader or one of its followers.
//
// Owns: its animation clocks, its countdown text, its colour. Reads the level, the flag and the
// counters of the progress record and the terrain and palette surfaces it is handed; the leader
// reads the held directions of the input state.
// Never: paints (the level scene stamps under it) or deletes itself; dead and saved creatures stay
// in their owner's list, hidden.
// On failure: with no level or no terrain every pixel is free (it falls and dies at the bottom, or
// at once with no level); with no sheet it draws nothing.
#include <memory>

#include "game/Entity.h"

class ImageData;
class ProgressRecord;
class SurfaceStore;
class TextBox;
struct LevelInfo;

class EntityTumblekin : public Entity {
  public:
    static constexpr const char* kSheet = "Assets/graphics/tumblekin.png";
    enum State : uint32_t {
        Waiting = 0,
        Falling = 1,
        Standing = 2,
        Walking = 3,
        Entering = 4,
        Dying = 5,
        Dead = 6,
        Saved = 7
    };
    static constexpr int32_t kTrapMs = 7000;

    EntityTumblekin(ProgressRecord& progress, const SurfaceStore& surfaces, int32_t x, int32_t y);
    ~EntityTumblekin() override;

    void update() override;
    void draw(CameraPoint camera) override;
    const char* className() const override { return "EntityTumblekin"; }
    void setBounds(int32_t atX, int32_t atY) override {
        boundsX = atX;
        boundsY = atY;
        boundsWidth = boundsHeight = 1;
    }
    void animate() override {
        chooseAnimation();
        advanceFrame();
        applyFrame();
    }
    void chooseAnimation() override;
    void advanceFrame() override;
    void applyFrame() override;

    // What one side offers: can the creature walk there, and by how many pixels does its feet row
    // move (negative up, 3 = a drop it falls down, -4 = a wall).
    struct Probe {
        bool can = false;
        int32_t step = 0;
    };
    Probe probe(int dir) const;
    // The body colour picked anew from the selected flag.
    void pickColour();

    int32_t animFrame = 0;
    uint32_t animFrameMs = 50;
    uint32_t animClock = 0;
    uint16_t animFrameCount = 0;
    LevelInfo* level = nullptr;
    uint32_t state = Waiting;
    uint8_t isLeader = 0;
    EntityTumblekin* leader = nullptr;
    int32_t decisionClock = 0;
    int32_t trappedClock = 0;
    std::unique_ptr<TextBox> countdownText;
    uint8_t countdownVisible = 0;
    int32_t countdownDigit = 0;
    ClipRect markerClip{0, 80, 20, 20};
    int32_t markerFrame = 0;
    uint32_t markerFrameMs = 50;
    uint32_t markerClock = 0;
    uint16_t markerFrameCount = 14;
    uint8_t facingRight = 1;
    int32_t fallStartY = 0;
    int32_t spawnDelayMs = 0;
    uint8_t onGround = 0;
    uint32_t bodyHeight = 6;
    uint8_t tintRed = 0, tintGreen = 0, tintBlue = 0;
    float fallSpeed = 0.045f;
    float walkSpeed = 0.02f;
    float walkRemainder = 0;
    float fallRemainder = 0;

  private:
    // One update in each state; the probes are what the two sides offer this update.
    void updateWaiting(int32_t dt);
    void updateFalling(int32_t dt);
    void updateStanding(int32_t dt, bool steering, const Probe& leftSide, const Probe& rightSide);
    void updateWalking(int32_t dt, bool left, bool right, const Probe& leftSide, const Probe& rightSide);
    void countDownTrapped(int32_t dt);
    void stopWalking();
    const ImageData* terrainImage() const;
    bool solid(int px, int py) const;
    void die();
    void restartAnimation() { animFrame = 0, animClock = 0; }
    void startFalling();
    void face(bool right);

    ProgressRecord& progress_;
    const SurfaceStore& surfaces_;
};

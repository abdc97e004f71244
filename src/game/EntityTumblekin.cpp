#include "game/EntityTumblekin.h"

#include <cmath>
#include <cstdlib>

#include "assets/SurfaceStore.h"
#include "audio/AudioSystem.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/TextBox.h"

namespace {
// A fall longer than a third of the logical screen kills: 66 pixels on a 200-pixel screen.
int32_t deadlyFall() {
    const Renderer* renderer = Renderer::instance();
    return (renderer ? renderer->logicalHeight : 200) / 3;
}
} // namespace

EntityTumblekin::EntityTumblekin(ProgressRecord& progress, const SurfaceStore& surfaces, int32_t atX,
                                 int32_t atY)
    : Entity(kSheet, 20, 20, atX, atY), progress_(progress), surfaces_(surfaces) {
    level = progress_.currentLevelInfo();
    countdownText = std::make_unique<TextBox>(0, 0);
    countdownText->setRawText("", atX, atY);
    countdownText->setAlignment(2, 1);
    pickColour();
}

EntityTumblekin::~EntityTumblekin() = default;

const ImageData* EntityTumblekin::terrainImage() const {
    return surfaces_.get(progress_.terrainSurface);
}

bool EntityTumblekin::solid(int px, int py) const {
    const ImageData* terrain = terrainImage();
    return terrain && (terrain->pixel(px, py) & 0xFF) != 0;
}

EntityTumblekin::Probe EntityTumblekin::probe(int dir) const {
    const int column = x + dir;
    const int width = level ? level->width : 0;
    const bool outside = dir > 0 ? column >= width : column < 0;
    const ImageData* terrain = terrainImage();
    bool blocked[16];
    for (int k = 0; k < 16; ++k)
        blocked[k] = outside || (terrain && (terrain->pixel(column, y - 12 + k) & 0xFF) != 0);
    auto freeRows = [&blocked](int from, int to) {
        for (int k = from; k <= to; ++k)
            if (blocked[k]) return false;
        return true;
    };
    Probe result;
    if (!blocked[12]) {
        for (int d = 0; d < 3; ++d) {
            if (blocked[13 + d]) {
                result.step = d;
                result.can = freeRows(7 - d, 12 - d);
                return result;
            }
        }
        result.can = freeRows(7, 12);
        result.step = result.can ? 3 : 0;
        return result;
    }
    for (int c = 0; c < 3; ++c) {
        if (!blocked[11 - c]) {
            result.step = -(c + 1);
            result.can = freeRows(6 - c, 11 - c);
            return result;
        }
    }
    result.step = -4;
    return result;
}

void EntityTumblekin::pickColour() {
    tintRed = tintGreen = tintBlue = 0;
    const int r = std::rand();
    const Flag* flag = progress_.currentFlagInfo();
    const ImageData* palette = flag ? surfaces_.get(flag->surface) : nullptr;
    if (!palette) return;
    const int row = ((r % 255) * palette->height()) / 255;
    const uint32_t colour = palette->width() >= 1 ? palette->pixel(0, row) : 0;
    auto channel = [](uint32_t byte) { return static_cast<uint8_t>(std::min<uint32_t>(180, byte * 3 / 4)); };
    // Grey palettes hold one byte a pixel: that byte is every channel.
    if (palette->bytesPerPixel() <= 2) {
        tintRed = tintGreen = tintBlue = channel(colour & 0xFF);
        return;
    }
    tintRed = channel(colour & 0xFF);
    tintGreen = channel(colour >> 8 & 0xFF);
    tintBlue = channel(colour >> 16 & 0xFF);
}

void EntityTumblekin::die() {
    if (state != Falling && state != Standing && state != Walking) return;
    state = Dying;
    countdownVisible = 0;
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->playSound("Sound/chof.wav", -1, 0);
    restartAnimation();
}

void EntityTumblekin::startFalling() {
    state = Falling;
    walkRemainder = fallRemainder = 0;
    fallStartY = y;
    restartAnimation();
}

void EntityTumblekin::face(bool right) {
    if ((facingRight != 0) != right) restartAnimation();
    facingRight = right ? 1 : 0;
}

void EntityTumblekin::update() {
    const auto dt = static_cast<int32_t>(frameDeltaMs);
    onGround = solid(x, y + 1);
    uint8_t held = 0;
    if (isLeader) {
        if (const InputState* input = GameWide<InputState>::get()) held = input->directionsHeld;
    }
    const bool left = held & InputState::kLeft, right = held & InputState::kRight;
    switch (state) {
    case Waiting:
        updateWaiting(dt);
        break;
    case Falling:
        updateFalling(dt);
        break;
    case Standing:
        updateStanding(dt, left || right, probe(-1), probe(1));
        break;
    case Walking:
        updateWalking(dt, left, right, probe(-1), probe(1));
        break;
    default:
        break;
    }
    animate();
    setBounds(x, y);
}

void EntityTumblekin::updateWaiting(int32_t dt) {
    spawnDelayMs -= dt;
    if (spawnDelayMs >= 0) return;
    spawnDelayMs = 0;
    state = Falling;
    if (!isLeader) ++progress_.creaturesOut;
    fallStartY = y;
    restartAnimation();
}

void EntityTumblekin::updateFalling(int32_t dt) {
    if (!onGround) {
        const float move = static_cast<float>(dt) * fallSpeed + fallRemainder;
        const float whole = std::trunc(move);
        y += static_cast<int32_t>(whole);
        fallRemainder = move - whole;
    } else {
        const auto fall = static_cast<uint32_t>(y - fallStartY);
        fallRemainder = 0;
        if (fall > static_cast<uint32_t>(deadlyFall())) {
            die();
        } else {
            if (!isLeader && fall > frameHeight && leader) facingRight = leader->x - x > 0;
            state = Standing;
            restartAnimation();
        }
    }
    if (!level || y >= level->height) die();
}

void EntityTumblekin::updateStanding(int32_t dt, bool steering, const Probe& leftSide,
                                     const Probe& rightSide) {
    if (isLeader) {
        if (steering) {
            state = Walking;
            restartAnimation();
        }
        if (!onGround) startFalling();
        return;
    }
    // Ground dug away under a follower's feet: it falls, as the leader does.
    if (!onGround) {
        trappedClock = 0;
        countdownVisible = 0;
        startFalling();
        return;
    }
    if (leftSide.can || rightSide.can) {
        state = Walking;
        trappedClock = 0;
        countdownVisible = 0;
        return;
    }
    countDownTrapped(dt);
}

void EntityTumblekin::countDownTrapped(int32_t dt) {
    trappedClock += dt;
    if (kTrapMs - trappedClock < 5000) {
        const int32_t digit = (kTrapMs - trappedClock) / 1000 + 1;
        if (digit != countdownDigit || !countdownVisible) {
            countdownDigit = digit;
            countdownText->setRawText(std::to_string(digit), x, y);
            countdownText->setAlignment(2, 1);
        }
        countdownVisible = 1;
    }
    if (trappedClock > kTrapMs) {
        trappedClock = 0;
        countdownVisible = 0;
        die();
    }
}

void EntityTumblekin::stopWalking() {
    state = Standing;
    walkRemainder = 0;
    restartAnimation();
}

void EntityTumblekin::updateWalking(int32_t dt, bool left, bool right, const Probe& leftSide,
                                    const Probe& rightSide) {
    if (!level || x < 0 || x > level->width) {
        die();
        return;
    }
    const int dir = facingRight ? 1 : -1;
    const Probe& side = dir > 0 ? rightSide : leftSide;
    if (side.can) {
        // The fraction of a pixel not moved is kept, so the pace is the same at any frame rate.
        const float move = static_cast<float>(dt) * walkSpeed * static_cast<float>(dir) + walkRemainder;
        const float whole = std::trunc(move);
        x += static_cast<int32_t>(whole);
        walkRemainder = move - whole;
        if (std::fabs(move) >= 1) {
            if (side.step >= 3) {
                startFalling();
                return;
            }
            y += side.step;
        }
    }
    if (isLeader) {
        if (left)
            face(false);
        else if (right)
            face(true);
        else
            stopWalking();
        return;
    }
    decisionClock += dt;
    if (decisionClock > 2000) {
        decisionClock = 0;
        const int32_t d = leader ? leader->x - x : 0;
        if (d > std::rand() % 30 + 50) face(true);
        if (d < -50 - std::rand() % 30) face(false);
    }
    if (!leftSide.can && !rightSide.can)
        stopWalking();
    else if (!(facingRight ? rightSide.can : leftSide.can))
        face(!facingRight);
}

void EntityTumblekin::chooseAnimation() {
    animFrameMs = 60;
    switch (state) {
    case Falling:
        animFrameCount = 4;
        break;
    case Walking:
    case Entering:
        animFrameCount = 8;
        break;
    case Dying:
        animFrameCount = 16;
        break;
    default:
        animFrameCount = 0;
        break;
    }
}

void EntityTumblekin::advanceFrame() {
    animClock += frameDeltaMs;
    if (animClock >= animFrameMs) {
        ++animFrame;
        animClock = 0;
    }
    if (animFrame >= animFrameCount) {
        if (state == Entering) {
            animFrame = animFrameCount;
            state = Saved;
            if (!isLeader) ++progress_.creaturesSaved;
        } else if (state == Dying) {
            animFrame = animFrameCount;
            state = Dead;
            if (!isLeader) {
                progress_.creaturesAlive = std::max(0, progress_.creaturesAlive - 1);
                progress_.creaturesOut = std::max(0, progress_.creaturesOut - 1);
            }
        } else {
            animFrame = 0;
        }
    }
    if (!isLeader) return;
    markerClock += frameDeltaMs;
    if (markerClock >= markerFrameMs) {
        ++markerFrame;
        markerClock = 0;
        if (markerFrame >= markerFrameCount) {
            markerFrame = 0;
            pickColour();
        } else if (markerFrame % 2 == 0) {
            pickColour();
        }
    }
}

void EntityTumblekin::applyFrame() {
    const int32_t left = facingRight ? 0 : 320;
    switch (state) {
    case Falling:
        frameY = 40;
        frameX = 20 * animFrame + left;
        hidden = 0;
        break;
    case Walking:
        frameY = 0;
        frameX = 20 * animFrame + left;
        hidden = 0;
        break;
    case Dying:
        frameY = 60;
        frameX = 20 * animFrame + left;
        hidden = 0;
        break;
    case Standing:
        frameX = facingRight ? 180 : 500;
        frameY = 0;
        hidden = 0;
        break;
    case Entering:
        frameY = 20;
        frameX = 20 * animFrame;
        hidden = 0;
        break;
    default:
        hidden = 1;
        break;
    }
    if (isLeader) markerClip.x = 20 * markerFrame + 40;
}

void EntityTumblekin::draw(CameraPoint camera) {
    if (hidden) return;
    const int32_t sx = x - frameWidth / 2 - camera.x + 1;
    const int32_t sy = y - frameHeight / 2 - camera.y + 1;
    if (countdownVisible) {
        const auto tx = static_cast<int16_t>(x - camera.x + 2);
        const auto ty = static_cast<int16_t>(y - frameHeight - camera.y + 1);
        countdownText->setPosition(tx, ty);
        countdownText->drawInBand(1, 0, 0);
        countdownText->drawInBand(static_cast<uint8_t>((frameTimeMs % 500) / 250 * 2), -1, -1);
        if (AudioSystem* audio = GameWide<AudioSystem>::get()) {
            if (!audio->isMusicChannel(12) && !audio->isPlaying(12))
                audio->playSound("Sound/54321.wav", 12, 0);
        }
    }
    ResourceStore* store = GameWide<ResourceStore>::get();
    TextureRecord* sheet = store ? store->texture(texture) : nullptr;
    if (!sheet) return;
    sheet->colourAdd[0] = static_cast<float>(tintRed) / 255.0f;
    sheet->colourAdd[1] = static_cast<float>(tintGreen) / 255.0f;
    sheet->colourAdd[2] = static_cast<float>(tintBlue) / 255.0f;
    if (isLeader)
        drawSprite(texture, markerClip, static_cast<int16_t>(sx + frameWidth / 6),
                   static_cast<int16_t>(sy - frameHeight * 3 / 4));
    drawSprite(texture, sourceRect(), static_cast<int16_t>(sx), static_cast<int16_t>(sy));
    sheet->colourAdd[0] = sheet->colourAdd[1] = sheet->colourAdd[2] = 0;
}

#include "opening/ScenePong.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "audio/AudioSystem.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "render/Shader.h"
#include "render/ShaderEffect.h"

namespace {
constexpr uint32_t kYellow = 0xFFFFFF00u;
constexpr ClipRect kFlipSource{0, 0, 32, 32};
constexpr double kDegrees = 0.017453292;

void playEffect(const char* name) {
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->playSound(name, -1, 0);
}

int16_t i16(int32_t v) {
    return static_cast<int16_t>(v);
}

uint16_t u16(int32_t v) {
    return static_cast<uint16_t>(std::max(v, 0));
}
} // namespace

ScenePong::ScenePong() : table(logicalWidth, logicalHeight) {
    if (ResourceStore* store = GameWide<ResourceStore>::get())
        effectShader = store->getOrCreateShader("ST_planegrid", 5);
}

void ScenePong::load() {
    Scene::load();
    table = PongTable(logicalWidth, logicalHeight);
    fadeInDuration = 500;
    fadeOutDuration = 500;
    if (ResourceStore* store = GameWide<ResourceStore>::get()) {
        flipTexture = store->getOrLoadTexture("Assets/flip.png");
        if (auto* effect = dynamic_cast<ShaderEffect*>(store->shader(effectShader))) {
            effect->resolution[0] = logicalWidth;
            effect->resolution[1] = logicalHeight;
        }
    }
    setButtonTips(0);
    const int32_t side = static_cast<int32_t>(logicalWidth * 0.01);
    lightSquare = {0, 0, side, side};
    table.rollBlocks();
}

void ScenePong::enter() {
    setButtonTips(0);
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) {
        audio->selectMusic("GAME", true);
        audio->startMusic(0, 0);
    }
    Scene::enter();
    if (InputState* input = GameWide<InputState>::get()) {
        input->inputLockEnabled = 0;
        input->inputLockMs = 150;
    }
}

void ScenePong::followPointer() {
    const InputState* input = GameWide<InputState>::get();
    if (!input || windowWidth <= 0 || windowHeight <= 0) return;
    // The same mapping the main loop gives scenes with a pointer: window pixels to logical ones.
    const int32_t x = std::clamp<int32_t>(logicalWidth * input->rawMouseX() / windowWidth, 0, logicalWidth);
    const int32_t y =
        std::clamp<int32_t>(logicalHeight * input->rawMouseY() / windowHeight, 0, logicalHeight);
    const int32_t side = static_cast<int32_t>(logicalWidth * 0.01);
    lightSquare = {x - side / 2, y - side / 2, side, side};
}

void ScenePong::updateFadeIn() {
    advanceFadeIn();
    followPointer();
}

void ScenePong::updateRunning() {
    handleInput();
    followPointer();
}

void ScenePong::handleInput() {
    InputState* input = GameWide<InputState>::get();
    if (!input) return;
    if (input->quitRequested() || input->backPressed) {
        requestExit(1, kPongScene);
        if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->stopMusic(true);
    }
    table.movePlayer(static_cast<uint8_t>(input->directionsHeld | input->dpadHeld));
}

void ScenePong::updateFadeOut() {
    fadeOutClock += static_cast<int32_t>(frameDeltaMs);
    if (fadeOutClock <= fadeOutDuration) return;
    fadeOutClock = 0;
    if (!switchRequested) return;
    // Leaving the paddle game ends the program.
    if (SceneManager* manager = GameWide<SceneManager>::get()) manager->quitRequested = 1;
    entered = 0;
}

void ScenePong::drawFadeIn() {
    drawRunning();
    drawFadeInCurtain();
}

void ScenePong::drawFadeOut() {
    drawRunning();
    drawFadeOutCurtain();
}

void ScenePong::drawRunning() {
    Renderer* renderer = Renderer::instance();
    renderer->bindGameScreen();
    if (ResourceStore* store = GameWide<ResourceStore>::get())
        if (Shader* effect = store->shader(effectShader)) effect->draw();

    const PongTable::Hit hit = table.step();
    if (hit == PongTable::LeftHit) playEffect("Sound/cursormove22.wav");
    if (hit == PongTable::RightHit) playEffect("Sound/cursorok22.wav");

    const float spin = static_cast<float>(frameTimeMs) / 10.0f;
    const PongRect& ball = table.ball;
    drawTexture(flipTexture, kFlipSource, i16(ball.x), i16(ball.y), spin, u16(ball.w), u16(ball.h), nullptr,
                0, 255);
    for (const PongRect* paddle : {&table.leftPaddle, &table.rightPaddle})
        drawColourRect(i16(paddle->x), i16(paddle->y), u16(paddle->w), u16(paddle->h), PongTable::kColour);

    const int32_t dashW = static_cast<int32_t>(logicalWidth * 0.005);
    const int32_t dashH = static_cast<int32_t>(logicalHeight * 0.02);
    const int32_t dashStep = static_cast<int32_t>(logicalHeight * 0.026);
    for (int32_t y = 0; dashStep > 0 && y < logicalHeight; y += dashStep)
        drawColourRect(i16(logicalWidth / 2 - 2), i16(y), u16(dashW), u16(dashH), PongTable::kColour);

    const int scoreY = static_cast<int>(logicalHeight * 0.006);
    drawScore(table.leftScore, logicalWidth / 4, scoreY);
    drawScore(table.rightScore, logicalWidth / 2 + logicalWidth / 4, scoreY);

    const int16_t bigSide = i16(10 * table.ballSize);
    drawTexture(flipTexture, kFlipSource, i16(static_cast<int32_t>(logicalWidth * 0.31)),
                i16(static_cast<int32_t>(logicalHeight * 0.5)), spin, u16(bigSide), u16(bigSide), nullptr, 0,
                255);

    drawLights();
    drawButtonTips();
}

void ScenePong::drawScore(uint32_t score, int x, int y) {
    for (const char c : std::to_string(score)) {
        const int digit = c - '0';
        for (const PongRect& piece : table.digitPieces(digit, x, y))
            drawColourRect(i16(piece.x), i16(piece.y), u16(piece.w), u16(piece.h), PongTable::kColour);
        x += table.digitAdvance(digit);
    }
}

void ScenePong::drawLightWithShadows(int32_t x, int32_t y, uint32_t argb) {
    Renderer* renderer = Renderer::instance();
    const int32_t half = renderer->lightMapSize / 2;
    renderer->bindTarget(Renderer::TextureTarget, renderer->occlusionMap);
    renderer->clearTarget(0, Renderer::Keep);
    for (const PongRect& block : table.blocks) {
        const auto bx = static_cast<int32_t>(static_cast<float>(block.x - x) * occluderScale[0]) + half;
        const auto by = static_cast<int32_t>(static_cast<float>(block.y - y) * occluderScale[1]) + half;
        drawColourRect(
            i16(bx), i16(by), u16(static_cast<int32_t>(static_cast<float>(block.w) * occluderScale[0])),
            u16(static_cast<int32_t>(static_cast<float>(block.h) * occluderScale[1])), 0xFF000000u);
    }
    renderer->computeShadowMap();
    renderer->bindGameScreen();
    renderer->drawLight(x, y, argb);
}

void ScenePong::drawLights() {
    const PongRect saved = lightSquare;
    auto lightAt = [this](int32_t cx, int32_t cy, uint32_t argb) {
        lightSquare.x = cx - lightSquare.w / 2;
        lightSquare.y = cy - lightSquare.h / 2;
        drawColourRect(i16(lightSquare.x), i16(lightSquare.y), u16(lightSquare.w), u16(lightSquare.h),
                       kYellow);
        drawLightWithShadows(cx, cy, argb);
    };
    // The player's own light first, then the fixed and the orbiting ones.
    lightAt(saved.x + saved.w / 2, saved.y + saved.h / 2, 0xFFFFFFFFu);

    const double w = logicalWidth, h = logicalHeight;
    const double cx = w / 2, cy = h / 2;
    const double t = frameTimeMs * kDegrees;
    auto at = [](double v) { return static_cast<int32_t>(v); };
    lightAt(at(cx + std::cos(t / 10) * w * 0.35), at(cy + std::sin(t / 10) * h * 0.35), 0xFFFF0000u);
    lightAt(at(cx - w * 0.35), at(cy - h * 0.3), 0xFF00FF00u);
    lightAt(at(cx + std::cos(-t / 20) * w * 0.2), at(cy + std::sin(-t / 20) * h * 0.4), 0xFF7F7F00u);
    lightAt(at(cx + w * 0.35), at(cy + h * 0.3), 0xFF00FFFFu);
    lightAt(at(cx + std::sin(t / 40) * w * 0.4), at(cy - std::cos(t / 40) * h * 0.2), 0xFFFF00FFu);
    lightAt(at(cx - std::cos(t / 80) * w * 0.25), at(cy + std::sin(t / 80) * h * 0.25), 0xFF0000FFu);
    lightAt(at(cx), at(cy), 0x1F777F45u);
    lightSquare = saved;
}

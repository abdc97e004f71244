#include "core/Scene.h"

#include <algorithm>
#include <cstdint>

#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/TextBox.h"

#include <iostream>

namespace {
ResourceStore* store() {
    return GameWide<ResourceStore>::get();
}

// A scrolling layer's x position wrapped into [0, width × 1000): the menus anchor a wide picture at
// a negative x, and a negative speed runs below 0, yet the drawn offset must stay within the picture.
int32_t wrapIntoWidth(int64_t x, uint16_t width) {
    const int64_t span = int64_t{width} * 1000;
    return static_cast<int32_t>(((x % span) + span) % span);
}

ClipRect wholeOf(int32_t texture) {
    const TextureRecord* record = store() ? store()->texture(texture) : nullptr;
    if (!record) return {};
    return {0, 0, static_cast<uint16_t>(record->width), static_cast<uint16_t>(record->height)};
}
} // namespace

Scene::Scene() {
    if (ResourceStore* resources = store()) {
        padButtonsTexture = resources->getOrLoadTexture("Assets/gui/padbuttons.png");
        const std::string pointerPath = "Assets/hud/mousenormal.png";
        pointerTexture = resources->getOrLoadTexture(pointerPath);
        if (pointerTexture >= 0) {
            pointerClip = wholeOf(pointerTexture);
            pointerCentred = 1;
        } else {
            std::cerr << "ERROR: Can't load Mouse image " << pointerPath << std::endl;
        }
        defaultPointerTexture = pointerTexture;
    }
    noticeLine = std::make_unique<TextLine>(0, 0);
    if (Renderer* renderer = Renderer::instance()) {
        logicalWidth = static_cast<uint16_t>(renderer->logicalWidth);
        logicalHeight = static_cast<uint16_t>(renderer->logicalHeight);
        if (renderer->windowWidth > 0) {
            windowWidth = renderer->windowWidth;
            windowHeight = renderer->windowHeight;
        }
    }
}

Scene::~Scene() = default;

void Scene::load() {
    state = FadingIn;
    switchRequested = 0;
    entered = 0;
    ResourceStore* resources = store();
    if (!resources) return;
    blackBarTexture = resources->getOrLoadTexture("Assets/gui/black_bar.png");
    whiteBarTexture = resources->getOrLoadTexture("Assets/gui/white_bar.png");
    redBarTexture = resources->getOrLoadTexture("Assets/gui/red_bar.png");
    scanlineTexture = resources->getOrLoadTexture("Assets/gui/scanlines.png");
    if (TextureRecord* scanlines = resources->texture(scanlineTexture)) scanlines->blendMode = 1;
    fadeTexture = blackBarTexture;
    fadeClip = wholeOf(blackBarTexture);
}

void Scene::reset() {
    layerTextures.clear();
    layerRects.clear();
    layerSpeeds.clear();
    layerX.clear();
    layerY.clear();
    hoveredElement = -1;
    elements.clear();
    load();
}

void Scene::enter() {
    state = fadeInOnEnter ? FadingIn : Running;
    switchRequested = 0;
    entered = 1;
    fadeInClock = 0;
    fadeOutClock = 0;
    inputConsumed = 0;
    if (InputState* input = GameWide<InputState>::get()) input->stopRumble();
}

void Scene::refreshTexts() {
    for (const auto& element : elements)
        if (element && element->isKindOf(32)) static_cast<TextBox*>(element.get())->refreshText();
    if (showButtonTips) setButtonTips(255);
}

void Scene::showNotice(const std::string& key) {
    noticeTime = 3000;
    noticeLine->setKey(40, static_cast<int16_t>(windowHeight - 40), key, 0);
}

namespace {
struct Tip {
    const char* key;
    uint16_t icon;
    uint16_t gapAfter; // room left of this tip for the next one's icon, when this tip has one
};
constexpr uint16_t kNone = Scene::kNoIcon;
constexpr Tip kMouseAndAccept[] = {{"GEN_USEMOUSE", kNone, 0}, {"GEN_ACCEPT", 0, 40}};
constexpr Tip kLevelTips[] = {
    {"GEN_USEMOUSEACTION", kNone, 0}, {"BUTTONTIP_WALK", 15, 40}, {"TEST_VOID", 14, 40},
    {"BUTTONTIP_OR", 13, 40},         {"TEST_VOID", 12, 40},      {"GEN_PAUSE_MENU", 7, 40}};
constexpr Tip kMenuTips[] = {{"GEN_USEMOUSE", kNone, 0}, {"GEN_BACK", 1, 24}, {"GEN_ACCEPT", 0, 40}};
} // namespace

void Scene::setButtonTips(uint16_t layout) {
    showButtonTips = 1;
    if (layout != 255) tipLayout = layout;
    tipLines.clear();
    tipIcons.clear();
    const Tip* tips = kMenuTips;
    size_t count = std::size(kMenuTips);
    if (tipLayout == 1) {
        tips = kMouseAndAccept;
        count = std::size(kMouseAndAccept);
    } else if (tipLayout == 2) {
        tips = kLevelTips;
        count = std::size(kLevelTips);
    }
    int x = windowWidth - 40;
    const int y = windowHeight - 40;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            // Each tip stands left of the one before, leaving room for that one's icon.
            x = tipLines.back()->drawX - (tips[i - 1].icon != kNone ? tips[i - 1].gapAfter : 0);
        }
        auto line = std::make_unique<TextLine>(5, 0);
        line->setKey(static_cast<int16_t>(x), static_cast<int16_t>(y), tips[i].key, TextLine::Right);
        tipLines.push_back(std::move(line));
        tipIcons.push_back(tips[i].icon);
    }
}

void Scene::drawButtonTips() {
    if (!showButtonTips) return;
    Renderer::instance()->bindTarget(Renderer::Window, -1);
    const InputState* input = GameWide<InputState>::get();
    const int32_t row = input && input->isXboxLike() ? 0 : 32;
    for (size_t i = 0; i < tipLines.size(); ++i) {
        if (tipIcons[i] != kNoIcon)
            drawSprite(padButtonsTexture, {tipIcons[i] * 32, row, 32, 32},
                       static_cast<int16_t>(tipLines[i]->drawX - 36),
                       static_cast<int16_t>(tipLines[i]->drawY - 8));
        tipLines[i]->draw(false);
    }
}

void Scene::render() {
    Renderer* renderer = Renderer::instance();
    renderer->clearTarget(0, 0);
    if (state == FadingIn)
        drawFadeIn();
    else if (state == FadingOut)
        drawFadeOut();
    else
        drawRunning();
    if (mouseEnabled && pointerTexture >= 0) {
        renderer->bindGameScreen();
        int x = 0, y = 0;
        pointerDrawPosition(&x, &y);
        drawSprite(pointerTexture, pointerClip, static_cast<int16_t>(x), static_cast<int16_t>(y));
        if (renderer->currentTarget != Renderer::Window) renderer->bindTarget(Renderer::Window, -1);
    }
    renderer->present();
}

void Scene::drawStill() {
    Renderer::instance()->bindGameScreen();
    drawColourRect(200, 200, 200, 200, 0xFF0000FFu);
}

void Scene::drawCurtain(int alpha) {
    if (alpha < 0) return;
    Renderer* renderer = Renderer::instance();
    renderer->bindGameScreen();
    drawTexture(fadeTexture, fadeClip, 0, 0, 0, logicalWidth, logicalHeight, nullptr, 0,
                static_cast<uint8_t>(alpha));
}

void Scene::requestExit(uint32_t switchFlag, uint16_t scene) {
    switchRequested = switchFlag;
    nextScene = scene;
    state = FadingOut;
}

bool Scene::advanceFadeIn() {
    fadeInClock += static_cast<int32_t>(frameDeltaMs);
    if (fadeInClock <= fadeInDuration) return false;
    fadeInClock = 0;
    state = Running;
    return true;
}

bool Scene::advanceFadeOut() {
    fadeOutClock += static_cast<int32_t>(frameDeltaMs);
    if (fadeOutClock <= fadeOutDuration) return false;
    fadeOutClock = 0;
    if (switchRequested) switchScene();
    return true;
}

int Scene::fadeInCurtainAlpha() const {
    if (fadeInDuration <= 0) return -1;
    const int64_t elapsed = static_cast<int64_t>(fadeInClock) - fadeDelay;
    if (elapsed > fadeInDuration) return 0;
    return static_cast<int>(255 - (255 * elapsed) / fadeInDuration);
}

int Scene::fadeOutCurtainAlpha() const {
    if (fadeOutDuration <= 0) return -1;
    const int64_t elapsed = static_cast<int64_t>(fadeOutClock) - fadeDelay;
    if (elapsed <= 0) return 0;
    if (elapsed > fadeOutDuration) return 255;
    const int64_t span = static_cast<int64_t>(fadeOutDuration) - fadeDelay;
    // A delay as long as the fade leaves nothing to divide by: the curtain is already shut.
    if (span <= 0) return 255;
    return static_cast<int>(std::min<int64_t>(255, 255 * elapsed / span));
}

int Scene::wipeColumns() const {
    if (fadeOutDuration <= 0) return -1;
    const int columns = windowWidth / 40;
    const int64_t elapsed = static_cast<int64_t>(fadeOutClock) - fadeDelay;
    if (elapsed > fadeOutDuration) return columns;
    if (elapsed <= 0) return 0;
    return static_cast<int>(columns * elapsed / fadeOutDuration);
}

void Scene::pointerDrawPosition(int* x, int* y) const {
    const int16_t halfW = pointerCentred ? static_cast<int16_t>(pointerClip.w / 2) : 0;
    const int16_t halfH = pointerCentred ? static_cast<int16_t>(pointerClip.h / 2) : 0;
    *x = std::min<int16_t>(static_cast<int16_t>(mouseX - halfW), static_cast<int16_t>(logicalWidth - halfW));
    *y = std::min<int16_t>(static_cast<int16_t>(mouseY - halfH), static_cast<int16_t>(logicalHeight - halfH));
}

void Scene::addScrollingLayer(uint32_t texture, ClipRect rect, int32_t speed, int32_t x, int32_t y) {
    layerTextures.push_back(texture);
    layerRects.push_back(rect);
    layerSpeeds.push_back(speed);
    layerX.push_back(x);
    layerY.push_back(y);
}

void Scene::updateScrollingLayers() {
    for (size_t i = 0; i < layerSpeeds.size(); ++i) {
        const int64_t moved = layerX[i] + int64_t{layerSpeeds[i]} * frameDeltaMs;
        if (layerSpeeds[i] != 0 && layerRects[i].w > 0)
            layerX[i] = wrapIntoWidth(moved, layerRects[i].w);
        else
            layerX[i] = static_cast<int32_t>(std::clamp<int64_t>(moved, INT32_MIN, INT32_MAX));
    }
}

void Scene::drawScrollingLayers() {
    const Renderer* renderer = Renderer::instance();
    const int limit = renderer->nativeSize ? windowWidth : logicalWidth;
    for (size_t i = 0; i < layerSpeeds.size(); ++i) {
        if (layerSpeeds[i] == 0) continue;
        const ClipRect& rect = layerRects[i];
        if (rect.w == 0) continue; // a missing picture has no width to step by
        const int offset = wrapIntoWidth(layerX[i], rect.w) / 1000;
        const int y = layerY[i] / 1000;
        const auto texture = static_cast<int32_t>(layerTextures[i]);
        drawSprite(texture, {offset, rect.y, static_cast<uint16_t>(rect.w - offset), rect.h}, 0,
                   static_cast<int16_t>(y));
        for (int x = rect.w - offset; x <= limit; x += rect.w)
            drawSprite(texture, {0, rect.y, rect.w, rect.h}, static_cast<int16_t>(x),
                       static_cast<int16_t>(y));
    }
}

void Scene::drawFadeInCurtain() {
    drawCurtain(fadeInCurtainAlpha());
}

void Scene::drawFadeOutCurtain() {
    drawCurtain(fadeOutCurtainAlpha());
}

void Scene::drawWipe() {
    const int columns = wipeColumns();
    for (int i = 0; i < columns; ++i)
        drawTexture(fadeTexture, {0, 0, 40, 48}, static_cast<int16_t>(i * 40), 0, 0, 40,
                    static_cast<uint16_t>(windowHeight), nullptr, 0, 255);
}

void Scene::drawScanlines() {
    const TextureRecord* record = store() ? store()->texture(scanlineTexture) : nullptr;
    if (!record || record->height <= 0) return;
    const ClipRect whole = wholeOf(scanlineTexture);
    for (int k = 0, n = logicalHeight / record->height; k < n; ++k)
        drawSprite(scanlineTexture, whole, 0, static_cast<int16_t>(k * record->height));
}

void Scene::switchToNextScene() {
    SceneManager* manager = GameWide<SceneManager>::get();
    entered = 0;
    fadeInOnEnter = 1;
    if (!manager) return;
    if (nextScene == kQuitScene) {
        manager->quitRequested = 1;
        return;
    }
    manager->previousScene = manager->currentScene;
    manager->currentScene = nextScene;
}

#include "opening/SceneLogo.h"

#include <utility>

#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"

SceneLogo::SceneLogo(std::string logoPath, uint32_t clearArgb, uint16_t next)
    : logoPath_(std::move(logoPath)), clearArgb_(clearArgb), next_(next) {
    skipFadeInAllowed = 1;
    skipFadeOutAllowed = 1;
    fadeDelay = 0;
}

bool SceneLogo::confirmed() {
    const InputState* input = GameWide<InputState>::get();
    // A quick click (a touchpad tap) can go down and up between two frames: take it from the event too.
    return input &&
           (input->acceptPressed || input->backPressed || input->mouseButtons() != 0 || input->mousePressed);
}

void SceneLogo::load() {
    Scene::load();
    mouseEnabled = 1;
    shownTime = 0;
    ResourceStore* store = GameWide<ResourceStore>::get();
    logoTexture = store ? store->getOrLoadTexture(logoPath_) : -1;
    if (const TextureRecord* logo = store ? store->texture(logoTexture) : nullptr)
        logoClip = {0, 0, static_cast<uint16_t>(logo->width), static_cast<uint16_t>(logo->height)};
}

void SceneLogo::updateFadeIn() {
    fadeInClock += static_cast<int32_t>(frameDeltaMs);
    if (fadeInClock <= fadeInDuration && !(skipFadeInAllowed && confirmed())) return;
    fadeInClock = 0;
    state = Running;
    onShown();
}

void SceneLogo::updateRunning() {
    handleInput();
    shownTime += static_cast<int32_t>(frameDeltaMs);
    if (shownTime >= kShowMs) requestExit(1, next_);
}

void SceneLogo::handleInput() {
    const InputState* input = GameWide<InputState>::get();
    if (input && input->quitRequested()) {
        if (SceneManager* manager = GameWide<SceneManager>::get()) manager->quitRequested = 1;
        entered = 0;
    }
    if (confirmed()) requestExit(1, next_);
}

void SceneLogo::updateFadeOut() {
    fadeOutClock += static_cast<int32_t>(frameDeltaMs);
    if (fadeOutClock <= fadeOutDuration && !(skipFadeOutAllowed && confirmed())) return;
    fadeOutClock = 0;
    if (switchRequested) switchScene();
}

void SceneLogo::switchScene() {
    onLeave();
    // The opening always runs in one order, whatever number was asked for.
    nextScene = next_;
    switchToNextScene();
}

void SceneLogo::drawRunning() {
    Renderer* renderer = Renderer::instance();
    renderer->bindGameScreen();
    renderer->clearTarget(clearArgb_, Renderer::Keep);
    drawSprite(logoTexture, logoClip, static_cast<int16_t>(logicalWidth / 2 - logoClip.w / 2),
               static_cast<int16_t>(logicalHeight / 2 - logoClip.h / 2));
}

void SceneLogo::drawFadeIn() {
    drawRunning();
    drawFadeInCurtain();
}

void SceneLogo::drawFadeOut() {
    drawRunning();
    drawFadeOutCurtain();
}

#include "opening/SceneAdvice.h"

#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "render/Renderer.h"
#include "text/TextBox.h"

SceneAdvice::SceneAdvice() : textBox(std::make_unique<TextBox>()) {
    fadeInDuration = 200;
    fadeOutDuration = 200;
    textBox->setAlignment(2, 1);
}

SceneAdvice::~SceneAdvice() = default;

bool SceneAdvice::confirmed() {
    const InputState* input = GameWide<InputState>::get();
    // A quick click (a touchpad tap) can go down and up between two frames: take it from the event too.
    return input && (input->acceptPressed || input->mouseButtons() != 0 || input->mousePressed);
}

void SceneAdvice::load() {
    Scene::load();
    mouseEnabled = 1;
}

void SceneAdvice::enter() {
    setButtonTips(1);
    Scene::enter();
    // Delay 0 shows each page whole at once; the box then counts its lines as typed, one a frame.
    textBox->setTextDelayed(adviceKey, 0, logicalWidth / 2, logicalHeight / 2, "1");
    textBox->setAlignment(2, 0);
    textBox->placeLinesAt32();
}

void SceneAdvice::updateFadeIn() {
    advanceFadeIn();
}

void SceneAdvice::updateRunning() {
    handleInput();
    textBox->update();
}

void SceneAdvice::handleInput() {
    const InputState* input = GameWide<InputState>::get();
    if (input && input->quitRequested()) {
        if (SceneManager* manager = GameWide<SceneManager>::get()) manager->quitRequested = 1;
        entered = 0;
    }
    if (!confirmed()) return;
    if (textBox->finished)
        requestExit(1, static_cast<uint16_t>(adviceNext));
    else if (textBox->pageFull)
        textBox->nextPage();
    else
        textBox->setTypingDelay(0);
}

void SceneAdvice::updateFadeOut() {
    advanceFadeOut();
}

void SceneAdvice::switchScene() {
    switchToNextScene();
}

void SceneAdvice::drawPage() {
    Renderer* renderer = Renderer::instance();
    renderer->bindGameScreen();
    renderer->clearTarget(0xFF000000u, Renderer::Keep);
    textBox->draw();
}

void SceneAdvice::drawFadeIn() {
    drawPage();
    drawFadeInCurtain();
}

void SceneAdvice::drawRunning() {
    drawPage();
    drawButtonTips();
}

void SceneAdvice::drawFadeOut() {
    drawPage();
    drawFadeOutCurtain();
}

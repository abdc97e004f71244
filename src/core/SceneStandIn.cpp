#include "core/SceneStandIn.h"

#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"

SceneStandIn::SceneStandIn(int32_t fadeInMs, int32_t fadeOutMs) {
    fadeInDuration = fadeInMs;
    fadeOutDuration = fadeOutMs;
}

void SceneStandIn::enter() {
    Scene::enter();
    runningMs_ = 0;
}

void SceneStandIn::updateRunning() {
    handleInput();
    if (handOverScene < 0 || switchRequested) return;
    runningMs_ += frameDeltaMs;
    const InputState* input = GameWide<InputState>::get();
    const bool asked = input && (input->acceptPressed || input->escapePressed || input->mouseReleased);
    if (!asked && runningMs_ < handOverMs) return;
    if (beforeHandOver) beforeHandOver();
    requestExit(1, static_cast<uint16_t>(handOverScene));
}

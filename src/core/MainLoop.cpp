#include "core/MainLoop.h"

#include <SDL.h>
#include <algorithm>

#include "audio/AudioSystem.h"
#include "base/FrameClock.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "core/TickSource.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"

MainLoop::MainLoop(SceneManager& scenes, InputState& input, Renderer& renderer, AudioSystem* audio,
                   ProgressRecord* progress)
    : swapInterval(&SDL_GL_GetSwapInterval),
      waitForEvents([](uint32_t ms) { SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)); }),
      scenes_(scenes), input_(input), renderer_(renderer), audio_(audio), progress_(progress) {}

void MainLoop::run() {
    while (runFrame()) {
    }
}

bool MainLoop::runFrame() {
    if (!started_) {
        clock_.start();
        previousFrameTime_ = 0;
        started_ = true;
    }
    if (scenes_.quitRequested) return false;
    Scene* scene = scenes_.current();
    if (!scene) {
        // No scene under this number: nothing could ever end the game but closing it.
        scenes_.quitRequested = 1;
        return false;
    }
    if (!scene->entered) scene->enter();

    input_.poll();
    // Closing the window ends the game from any scene, whatever the scene does with its input.
    if (input_.quitRequested()) scenes_.quitRequested = 1;

    // The focus state decides, not the one-frame signals: focus lost and regained within one poll
    // raises both, and acting on them in turn would pause the game and never resume it.
    if (input_.windowUnfocused) {
        if (!clock_.paused()) {
            // The scene pauses itself first (the level leaves for its pause menu), so a level
            // timer already paused by it is not ours to resume.
            scene->focusLost();
            if (audio_) audio_->pauseAll();
            clock_.pause();
            if (progress_ && progress_->levelTimer.running()) {
                progress_->levelTimer.pause();
                pausedLevelTimer_ = true;
            }
        }
        if (waitForEvents && !scenes_.quitRequested) waitForEvents(kUnfocusedWaitMs);
        return !scenes_.quitRequested;
    }
    if (clock_.paused()) {
        if (audio_) audio_->resumeAll();
        if (progress_ && pausedLevelTimer_) progress_->levelTimer.resume();
        pausedLevelTimer_ = false;
        clock_.resume();
    }

    frameTimeMs = clock_.read();
    const uint32_t deltaMs = frameTimeMs - previousFrameTime_;
    const int interval =
        FrameClock::keptSwapInterval(deltaMs, swapInterval ? swapInterval() : 0, renderer_.refreshHz,
                                     renderer_.frameLimiterEnabled, fastSwaps_);
    const FrameCharge charge =
        FrameClock::charge(deltaMs, renderer_.frameLimiterEnabled, interval, renderer_.targetFrameMs);
    if (charge.sleepMs) TickSource::delay(charge.sleepMs);
    previousFrameTime_ = clock_.read();
    frameDeltaMs = charge.chargedMs;

    if (scene->mouseEnabled && (!scene->isKindOf(27) || scene->state != Scene::Running)) {
        scene->previousMouseX = scene->mouseX;
        scene->previousMouseY = scene->mouseY;
        if (scene->windowWidth > 0 && scene->windowHeight > 0) {
            scene->mouseX = std::clamp<int32_t>(scene->logicalWidth * input_.rawMouseX() / scene->windowWidth,
                                                0, scene->logicalWidth);
            scene->mouseY = std::clamp<int32_t>(
                scene->logicalHeight * input_.rawMouseY() / scene->windowHeight, 0, scene->logicalHeight);
        }
    }

    if (audio_) audio_->update();
    switch (scene->state) {
    case Scene::FadingIn:
        scene->updateFadeIn();
        break;
    case Scene::FadingOut:
        scene->updateFadeOut();
        break;
    default:
        scene->updateRunning();
        break;
    }
    Scene* now = scenes_.current();
    if (now && now->entered && renderer_.window()) now->render();
    return !scenes_.quitRequested;
}

#pragma once
// MainLoop — one frame after another until a scene asks to quit.
//
// Owns: the main-loop clock and the previous frame time. Never: draws or updates anything itself;
// it calls the current scene, the input and the audio in a fixed order each frame.
#include <cstdint>

#include "core/PausableTimer.h"

class AudioSystem;
class InputState;
class ProgressRecord;
class Renderer;
class SceneManager;

class MainLoop final {
  public:
    MainLoop(SceneManager& scenes, InputState& input, Renderer& renderer, AudioSystem* audio,
             ProgressRecord* progress);

    void run();
    // One frame; returns false once the game should end. Tests drive frames one by one.
    bool runFrame();
    // The swap interval as the limiter sees it; tests may pretend another one.
    int (*swapInterval)() = nullptr;
    // Sleeps until an event comes or `ms` pass; tests may count the waits instead.
    void (*waitForEvents)(uint32_t ms) = nullptr;
    // How long an unfocused frame waits for events: the game in the background costs next to
    // nothing, and focus coming back is still noticed within a frame.
    static constexpr uint32_t kUnfocusedWaitMs = 16;

  private:
    SceneManager& scenes_;
    InputState& input_;
    Renderer& renderer_;
    AudioSystem* audio_;
    ProgressRecord* progress_;
    PausableTimer clock_;
    uint32_t previousFrameTime_ = 0;
    uint32_t fastSwaps_ = 0; // frames in a row faster than the swap interval should allow
    bool started_ = false;
    // The level timer was paused by this loop's focus loss (not by a menu), so focus regained
    // resumes it; otherwise alt-tab in the pause menu would restart the level clock behind it.
    bool pausedLevelTimer_ = false;
};

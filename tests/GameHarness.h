#pragma once
// The real game in a scratch folder, driven frame by frame: its own small level list (a flat
// 400 x 200 country with a short walk to the exit, one whose terrain picture is missing, and a
// ledge over a deadly fall),
// three flags, a "config.ini", the fake clock, a fixed seed after start-up, and an input source
// that holds keys, the pointer and buttons. Return and Escape arrive as pushed key events.
#include <SDL.h>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/Game.h"
#include "core/InputSource.h"

class Scene;

class HarnessInput final : public InputSource {
  public:
    const uint8_t* keyboard(int* count) override {
        *count = static_cast<int>(keys.size());
        return keys.data();
    }
    uint32_t mouse(int* x, int* y) override {
        *x = mouseX;
        *y = mouseY;
        return buttons;
    }
    std::vector<uint8_t> keys = std::vector<uint8_t>(SDL_NUM_SCANCODES, 0);
    int mouseX = 4, mouseY = 4;
    uint32_t buttons = 0;
};

struct HarnessOptions {
    bool levels = true;
    bool flags = true;
    // "config.ini" as written; empty for none (the first run).
    std::string config = "LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=128\nSFXVOLUME=128\n";
};

class GameHarness {
  public:
    explicit GameHarness(const HarnessOptions& options = HarnessOptions());
    ~GameHarness();

    bool started() const { return started_; }
    Game& game() { return game_; }
    HarnessInput& input() { return *input_; }
    const ScratchDir& dir() const { return dir_; }

    // One frame of 17 ms; false when the game asked to end.
    bool frame();
    void frames(int count);
    // Frames until `done` holds (true) or `limit` frames passed (false).
    bool runUntil(const std::function<bool()>& done, int limit);
    // Frames until `number` is the current scene and it runs (not fading).
    bool runUntilRunning(uint32_t number, int limit = 400);
    // Makes scene `number` current as a switch would, and runs it until it runs.
    bool jumpTo(uint32_t number);

    uint32_t currentNumber() const;
    Scene* current() const;
    template <class T> T* scene(uint32_t number) const { return dynamic_cast<T*>(sceneAt(number)); }

    // A key press and release as events, with frames after it for the input lock to pass.
    void tap(SDL_Scancode key);
    // A key held through the input source for `count` frames, then released.
    void hold(SDL_Scancode key, int count);
    // The pointer at a logical pixel of the game screen (the window is 1280 x 720).
    void pointAt(int logicalX, int logicalY);
    void click(int logicalX, int logicalY);

    // RGBA of a game-screen pixel after the last frame.
    static std::array<uint8_t, 4> pixel(int x, int y);
    // The game screen, 3x, as a PNG for a person to look at (nothing unless VOV_SCREENSHOT_DIR).
    static void screenshot(const std::string& name);

  private:
    Scene* sceneAt(uint32_t number) const;

    ScratchDir dir_;
    std::filesystem::path here_;
    FakeClock clock_;
    Game game_;
    HarnessInput* input_ = nullptr;
    bool started_ = false;
};

#pragma once
// The real game in a scratch folder, driven frame by frame: the fake clock, a fixed seed after
// start-up, the held-input source, swap interval 1 (no sleeping). Return and Escape arrive as
// pushed key events. Every test of the whole game starts it here.
#include <SDL.h>
#include <array>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "TestSupport.h"
#include "core/Game.h"
#include "core/SceneManager.h"

class GraphicElement;
class ProgressRecord;

// What the scratch folder holds.
struct HarnessOptions {
    enum class Levels {
        None,
        // Flatland (flat 400 x 200 ground, a short walk to the exit), Nowhere (its terrain picture
        // is missing) and Cliff (a ledge over a deadly fall).
        Small,
        // The run folder's Countries/, its list replaced by `countries` when that is set.
        Shipped,
    };
    Levels levels = Levels::Small;
    std::string countries;
    bool flags = true; // Spain, Japan, Saint Vincent and the Grenadines
    bool pack = true;
    // "config.ini" as written; empty for none (the first run).
    std::string config = "LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=128\nSFXVOLUME=128\n";
    // "Savedata/progress.txt" as written; empty for none (no country painted yet).
    std::string progress{};
};

class GameHarness {
  public:
    explicit GameHarness(const HarnessOptions& options = HarnessOptions());
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    bool started() const { return started_; }
    SceneManager& scenes() const { return *game_.scenes(); }
    ProgressRecord& progress() const;
    FakeInput& input() { return *input_; }
    const ScratchDir& dir() const { return folder_.dir(); }

    // One frame that took `ms`; false when the game asked to end.
    bool frame(uint32_t ms = 16);
    void frames(int count);
    // Frames of 16 ms (the last shorter) for `ms` in all; false when the game ended.
    bool run(uint32_t ms);
    // Frames until `done` holds or `limit` frames ran or the game ended: how many ran.
    int framesUntil(const std::function<bool()>& done, int limit = 1000);
    bool runUntil(const std::function<bool()>& done, int limit = 1000);
    // Frames until `number` is the current scene and runs (not fading); names the scene it is
    // stuck in when it does not get there.
    testing::AssertionResult runUntilRunning(uint32_t number, int limit = 400);
    // Makes scene `number` current as a switch would (entered at the next frame)...
    void enter(uint32_t number);
    // ... and runs it until it runs.
    testing::AssertionResult jumpTo(uint32_t number);

    uint32_t currentNumber() const { return scenes().currentScene; }
    Scene* current() const { return scenes().current(); }
    template <class T> T* scene(uint32_t number) const { return dynamic_cast<T*>(scenes().scene(number)); }

    // A key press and release as events, with frames after it for the menus' input lock to pass.
    void tap(SDL_Scancode key);
    // A key held through the input source for `count` frames, then released.
    void hold(SDL_Scancode key, int count = 1);
    // Keys one after the other as a player presses them: Return and Escape tapped, others held.
    void keys(std::initializer_list<SDL_Scancode> keys);
    // `key` held until `done` or `limit` frames, then released.
    bool holdUntil(SDL_Scancode key, const std::function<bool()>& done, int limit);
    // The pointer at a logical pixel of the game screen.
    void pointAt(int logicalX, int logicalY);
    void click(int logicalX, int logicalY);

    // RGBA of a game-screen pixel after the last frame, and whether it is within `tolerance` of
    // each channel of `rgb`.
    static std::array<uint8_t, 4> pixel(int x, int y);
    static testing::AssertionResult pixelNear(int x, int y, uint32_t rgb, int tolerance = 8);
    // The lines of a text box, each ended by '|'; empty for anything else.
    static std::string text(const GraphicElement* element);
    // The window as the last frame left it, as "<name>.png" in VOV_SCREENSHOT_DIR (nothing when
    // that is not set), for a person to look at.
    static void screenshot(const std::string& name);

  private:
    InScratchFolder folder_;
    FakeClock clock_;
    Game game_;
    FakeInput* input_ = nullptr;
    bool started_ = false;
};

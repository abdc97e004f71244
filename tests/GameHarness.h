#pragma once
// The real game in a scratch folder, driven frame by frame: fake clock, fixed seed after start-up,
// held-input source, swap interval 1 (no sleeping), Return and Escape as pushed key events.
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

struct HarnessOptions {
    enum class Levels {
        None,
        // Flatland (flat 400 x 200 ground, a short walk to the exit) and Nowhere (its terrain
        // picture is missing).
        Small,
        // The run folder's Countries/, its list replaced by `countries` when that is set.
        Shipped,
    };
    Levels levels = Levels::Small;
    std::string countries;
    bool flags = true; // Spain, Japan, Saint Vincent and the Grenadines
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

    // Frames return false when the game asked to end; run() goes 16 ms a frame for `ms` in all;
    // framesUntil() counts the frames it ran, at most `limit`.
    bool frame(uint32_t ms = 16);
    void frames(int count);
    bool run(uint32_t ms);
    int framesUntil(const std::function<bool()>& done, int limit = 1000);
    bool runUntil(const std::function<bool()>& done, int limit = 1000);
    // Until `number` is current and running; the failure names the scene it is stuck in.
    testing::AssertionResult runUntilRunning(uint32_t number, int limit = 400);
    // Makes scene `number` current as a switch would (entered at the next frame); jumpTo() also
    // runs it until it runs.
    void enter(uint32_t number);
    testing::AssertionResult jumpTo(uint32_t number);

    uint32_t currentNumber() const { return scenes().currentScene; }
    Scene* current() const { return scenes().current(); }
    template <class T> T* scene(uint32_t number) const { return dynamic_cast<T*>(scenes().scene(number)); }

    // tap(): pressed and released as events, then frames for the menus' input lock to pass.
    // hold(): held through the input source for `count` frames. keys(): as a player presses them,
    // Return and Escape tapped, others held.
    void tap(SDL_Scancode key);
    void hold(SDL_Scancode key, int count = 1);
    void keys(std::initializer_list<SDL_Scancode> keys);
    bool holdUntil(SDL_Scancode key, const std::function<bool()>& done, int limit);

    // A game-screen pixel after the last frame; pixelNear() allows `tolerance` on each channel.
    static std::array<uint8_t, 4> pixel(int x, int y);
    static testing::AssertionResult pixelNear(int x, int y, uint32_t rgb, int tolerance = 8);
    // The lines of a text box, each ended by '|'; empty for anything else.
    static std::string text(const GraphicElement* element);

  private:
    InScratchFolder folder_;
    FakeClock clock_;
    Game game_;
    FakeInput* input_ = nullptr;
    bool started_ = false;
};

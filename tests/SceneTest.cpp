#include <SDL.h>
#include <array>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/SceneManager.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"

namespace {
class CountingScene final : public Scene {
  public:
    CountingScene() { fadeInDuration = fadeOutDuration = 500; }
    bool isKindOf(int kind) const override { return kind == 29 || (menu && kind == 27); }
    void updateFadeIn() override { advanceFadeIn(); }
    void updateRunning() override { ++runningFrames; }
    void updateFadeOut() override { advanceFadeOut(); }
    void switchScene() override { switchToNextScene(); }
    int runningFrames = 0;
    bool menu = false;
};

std::vector<uint32_t> waits;

class SceneLoop : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0);
        GameWide<SceneManager>::set(&scenes);
        for (uint32_t i = 0; i < kSceneCount; ++i) {
            auto scene = std::make_unique<CountingScene>();
            raw[i] = scene.get();
            scene->menu = i == kMainScene;
            scenes.install(i, std::move(scene));
        }
        input.setSource(std::unique_ptr<FakeInput>(mouse = new FakeInput));
        Renderer::instance()->frameLimiterEnabled = 0;
        loop = std::make_unique<MainLoop>(scenes, input, *Renderer::instance(), nullptr, &progress);
        loop->swapInterval = [] { return 1; };
        waits.clear();
        loop->waitForEvents = [](uint32_t ms) { waits.push_back(ms); };
    }
    void TearDown() override {
        GameWide<SceneManager>::set(nullptr);
        SDL_Quit();
    }
    bool frame(uint32_t ms) {
        clock.advance(ms);
        return loop->runFrame();
    }

    FakeClock clock;
    SceneManager scenes;
    CountingScene* raw[kSceneCount] = {};
    InputState input;
    FakeInput* mouse = nullptr;
    ProgressRecord progress;
    std::unique_ptr<MainLoop> loop;
};
} // namespace

TEST_F(SceneLoop, FadesInRunsFadesOutAndSwitches) {
    EXPECT_TRUE(frame(0));
    EXPECT_TRUE(raw[4]->entered);
    for (int i = 0; i < 50; ++i)
        frame(10); // exactly 500 ms: not yet past 500
    EXPECT_EQ(raw[4]->state, Scene::FadingIn);
    frame(10);
    EXPECT_EQ(std::tuple(raw[4]->state, raw[4]->fadeInClock), std::tuple(Scene::Running, 0));
    frame(16);
    EXPECT_EQ(raw[4]->runningFrames, 1);
    raw[4]->requestExit(1, 7);
    for (int i = 0; i < 50; ++i)
        frame(10);
    EXPECT_EQ(scenes.currentScene, 4u);
    frame(10);
    EXPECT_EQ(std::tuple(scenes.currentScene, scenes.previousScene, raw[4]->entered, raw[4]->fadeInOnEnter),
              std::tuple(7u, 4u, 0, 1));
    frame(16);
    EXPECT_EQ(std::tuple(raw[7]->entered, raw[7]->state), std::tuple(1, Scene::FadingIn));
}

TEST_F(SceneLoop, AnExitSwitchesOnlyWithItsFlagAndToTheQuitSceneEndsTheGame) {
    raw[4]->fadeInOnEnter = 0;
    frame(0);
    EXPECT_EQ(raw[4]->state, Scene::Running) << "no fade-in: running at once";
    raw[4]->requestExit(0, 7);
    for (int i = 0; i < 40; ++i)
        frame(16);
    EXPECT_EQ(scenes.currentScene, 4u);
    raw[4]->requestExit(1, kQuitScene);
    bool running = true;
    for (int i = 0; i < 40 && running; ++i)
        running = frame(16);
    EXPECT_FALSE(running);
}

// Scenes advance by at most 18 ms a frame; with vsync off (or not kept) the limiter sleeps out the
// frame, and the sleep belongs to that frame, not the next.
TEST_F(SceneLoop, FrameDeltasAreCappedAndTheLimiterSleepsWithoutVsync) {
    frame(0);
    frame(100);
    frame(5);
    EXPECT_EQ(raw[4]->fadeInClock, 23);
    for (int i = 0; i < 59; ++i) // vsync reported, yet sixty 5 ms frames in a row: not kept
        frame(5);
    EXPECT_EQ(clock.slept, std::vector<uint32_t>{11u});
    frame(16);
    EXPECT_EQ(frameDeltaMs, 16u);
    Renderer::instance()->frameLimiterEnabled = 0;
}

TEST_F(SceneLoop, FocusLossFreezesScenesAndTheLevelTimer) {
    frame(0);
    progress.levelTimer.start();
    frame(16);
    const int32_t before = raw[4]->fadeInClock;
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    frame(16);
    EXPECT_TRUE(progress.levelTimer.paused());
    for (int i = 0; i < 10; ++i)
        frame(1000);
    // In the background each frame sleeps until an event comes, for about a frame at most.
    EXPECT_EQ(waits, std::vector<uint32_t>(11, 16u));
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    frame(10);
    // Ten unfocused seconds are not in the level timer, and the frame after focus is short.
    EXPECT_TRUE(progress.levelTimer.running() && progress.levelTimer.read() <= 60u && frameDeltaMs <= 18u);
    EXPECT_EQ(raw[4]->fadeInClock, before + static_cast<int32_t>(frameDeltaMs));
    // Lost and regained between two polls: the game goes on in that very frame, without waiting.
    const int32_t running = raw[4]->fadeInClock;
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    frame(16);
    frame(16);
    EXPECT_EQ(std::tuple(raw[4]->fadeInClock, waits.size()), std::tuple(running + 32, 11u));
}

// The loop maps the pointer to logical pixels, clamped (the paddle game's light shows it); a
// running menu maps it itself, and only while it fades does the loop.
TEST_F(SceneLoop, ARunningMenuMapsItsOwnPointer) {
    scenes.currentScene = kMainScene;
    raw[kMainScene]->mouseEnabled = 1;
    raw[kMainScene]->fadeInOnEnter = 0;
    mouse->mx = 1280;
    mouse->my = 720;
    frame(0);
    frame(16);
    EXPECT_EQ(raw[kMainScene]->mouseX, 0);
    raw[kMainScene]->state = Scene::FadingOut;
    frame(16);
    EXPECT_EQ(std::tuple(raw[kMainScene]->mouseX, raw[kMainScene]->mouseY), std::tuple(320, 200));
}

TEST(SceneBase, CurtainsAndThePointerFollowTheirNumbers) {
    CountingScene scene;
    scene.fadeInDuration = 1000;
    for (auto [clock, alpha] : {std::array{0, 255}, {500, 128}, {1001, 0}}) {
        scene.fadeInClock = clock;
        EXPECT_EQ(scene.fadeInCurtainAlpha(), alpha) << clock;
    }
    scene.fadeInDuration = 0;
    EXPECT_EQ(scene.fadeInCurtainAlpha(), -1);
    // The fade-out curtain moves over the 800 ms after a 200 ms delay.
    scene.fadeOutDuration = 1000;
    scene.fadeDelay = 200;
    for (auto [clock, alpha] : {std::array{100, 0}, {600, 127}, {1300, 255}}) {
        scene.fadeOutClock = clock;
        EXPECT_EQ(scene.fadeOutCurtainAlpha(), alpha) << clock;
    }
    scene.fadeDelay = scene.fadeOutClock = 1000; // as long as the fade: no division by zero
    EXPECT_GE(scene.fadeOutCurtainAlpha(), 0);
    scene.fadeDelay = 0;
    scene.windowWidth = 1280;
    for (auto [clock, columns] : {std::array{500, 16}, {5000, 32}}) {
        scene.fadeOutClock = clock;
        EXPECT_EQ(scene.wipeColumns(), columns) << clock;
    }
    // A centred pointer stops half its size inside the screen.
    scene.pointerClip = {0, 0, 11, 11};
    for (auto [centred, mx, my, x, y] :
         {std::array{1, 100, 50, 95, 45}, {1, 320, 200, 315, 195}, {0, 320, 200, 320, 200}}) {
        scene.pointerCentred = static_cast<uint8_t>(centred);
        scene.mouseX = mx;
        scene.mouseY = my;
        int drawX = 0, drawY = 0;
        scene.pointerDrawPosition(&drawX, &drawY);
        EXPECT_EQ(std::tuple(drawX, drawY), std::tuple(x, y)) << mx;
    }
}

TEST(SceneBase, LayersWrapByExactlyTheirWidthAndResetEmptiesThem) {
    CountingScene scene;
    scene.addScrollingLayer(3, {0, 0, 100, 50}, 2000, 99000, 0); // 2 px per ms
    scene.addScrollingLayer(3, {0, 0, 100, 50}, 0, 5000, 0);
    frameDeltaMs = 16;
    scene.updateScrollingLayers();
    EXPECT_EQ(std::tuple(scene.layerX[0], scene.layerX[1]), std::tuple(99000 + 32000 - 100000, 5000));

    // The other way, and from a wide picture's anchor left of the screen, into [0, width × 1000).
    scene.addScrollingLayer(3, {0, 0, 100, 50}, -2000, 1000, 0);
    scene.addScrollingLayer(3, {0, 0, 500, 50}, 1000, -180000, 0);
    scene.addScrollingLayer(3, {0, 0, 65535, 50}, -1, -65215000, 0);
    scene.updateScrollingLayers();
    EXPECT_EQ(std::tuple(scene.layerX[2], scene.layerX[3], scene.layerX[4]),
              std::tuple(69000, 336000, 319984));
    for (int i = 0; i < 11; ++i)
        scene.updateScrollingLayers();
    EXPECT_EQ(std::tuple(scene.layerX[2], scene.layerX[3]), std::tuple(17000, 12000));
    scene.hoveredElement = 3;
    scene.reset();
    EXPECT_TRUE(scene.layerX.empty() && scene.layerSpeeds.empty() && scene.hoveredElement == -1);
}

#include <array>
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "core/MainLoop.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"

TEST(GameStart, WindowLayoutScalesByWholeFactors) {
    // Window, then factor, scaled size and offsets of the 320 x 200 screen.
    // 1280 x 720 (x3 from (160, 50)) is what the rendering tests draw through.
    const WindowLayout layout = WindowLayout::compute(1920, 1080, 320, 200);
    EXPECT_EQ(
        (std::array{layout.factor, layout.scaledWidth, layout.scaledHeight, layout.offsetX, layout.offsetY,
                    int(layout.nativeSize), int(WindowLayout::compute(320, 200, 320, 200).nativeSize)}),
        (std::array{5, 1600, 1000, 160, 30, 0, 1}));
}

// The window's close button ends the game in every scene, the paddle game and the level included,
// whether the scene fades out first or not.
TEST(GameStart, TheCloseButtonEndsTheGameInEveryScene) {
    GameHarness h;
    ASSERT_TRUE(h.started());
    h.progress().chooseLevel(0, 0);
    for (uint32_t number = 0; number < kSceneCount; ++number) {
        SCOPED_TRACE("scene " + std::to_string(number));
        h.scenes().quitRequested = 0;
        ASSERT_TRUE(h.jumpTo(number));
        pushEvent(SDL_QUIT, [](SDL_Event&) {}); // the close button
        const int frames = h.framesUntil([] { return false; }, 100);
        EXPECT_TRUE(frames < 40 && h.scenes().quitRequested) << frames;
    }
}

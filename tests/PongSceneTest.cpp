#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "opening/ScenePong.h"
#include "render/Renderer.h"

namespace {
int brightness(const std::array<uint8_t, 4>& c) {
    return c[0] + c[1] + c[2];
}

// The paddle game made current the way a scene switch names it; nothing else leads there.
class PongScene : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.started());
        h.frame(0); // the main loop's clock starts
        h.enter(kPongScene);
        h.input().mx = 640; // the window's middle is the logical screen's
        h.input().my = 360;
        h.frames(2);
    }
    void pointAt(int x, int y) {
        h.input().mx = x;
        h.input().my = y;
        h.frame();
    }
    GameHarness h;
    ScenePong& pong = *h.scene<ScenePong>(kPongScene);
};
} // namespace

TEST_F(PongScene, DrawsTheTableMovesThePaddleAndTheLightAndEscapeEndsTheGame) {
    // The 3 x 3 light square is centred on the pointer; 500 ms of fade-in is 32 frames of 16 ms.
    EXPECT_EQ(std::pair(pong.lightSquare.x, pong.lightSquare.y), std::pair(159, 99));
    EXPECT_EQ(h.framesUntil([&] { return pong.state == Scene::Running; }), 30);
    std::srand(5); // blocks that leave the paddle and the score in the light
    pong.table.rollBlocks();
    pong.table.leftScore = 7;
    pointAt(1200, 640);
    // The left paddle (9..10 x 91..109) is light grey or brighter; the "7" has its top bar from
    // x = 80 at y = 1..3 and nothing left of it.
    const auto paddle = GameHarness::pixel(9, 100);
    EXPECT_GE(std::min({paddle[0], paddle[1], paddle[2]}), 230);
    EXPECT_GE(GameHarness::pixel(85, 2)[1], 230);
    EXPECT_LT(brightness(GameHarness::pixel(78, 2)), brightness(GameHarness::pixel(85, 2)));
    for (auto [x, y, lightX, lightY] : {std::array{5000, -40, 319, -1}, {30, 72, 6, 19}}) {
        pointAt(x, y); // kept on the screen
        EXPECT_EQ(std::pair(pong.lightSquare.x, pong.lightSquare.y), std::pair(lightX, lightY));
    }
    // Up two frames, then S (WASD is on in the game) one.
    const int32_t y = pong.table.leftPaddle.y;
    h.hold(SDL_SCANCODE_UP, 2);
    EXPECT_EQ(pong.table.leftPaddle.y, y - 2);
    h.hold(SDL_SCANCODE_S, 1);
    EXPECT_EQ(pong.table.leftPaddle.y, y - 1);

    pushKey(SDL_SCANCODE_ESCAPE);
    h.frame();
    EXPECT_TRUE(pong.state == Scene::FadingOut && GameWide<AudioSystem>::get()->musicState().fadingOut);
    EXPECT_EQ(h.framesUntil([] { return false; }, 100), 32) << "500 ms of fade-out, then the end";
    EXPECT_TRUE(h.scenes().quitRequested && h.currentNumber() == kPongScene) << "it switches nowhere";
}

TEST_F(PongScene, ABlockShadowsThePixelsBehindItFromTheLight) {
    auto light = [&](PongRect block, float scale) {
        pong.table.blocks = {block};
        pong.occluderScale[0] = pong.occluderScale[1] = scale;
        Renderer::instance()->clearTarget(0xFF000000u, Renderer::GameScreen);
        pong.drawLightWithShadows(160, 100, 0xFFFFFFFFu);
    };
    auto at = [](int x, int y) { return brightness(GameHarness::pixel(x, y)); };
    // One block 30..39 px right of a light at (160, 100), as tall as the light is high.
    light({190, 94, 9, 12}, 1.0f);
    const int mirror = at(100, 100);
    EXPECT_GT(mirror, 60);
    EXPECT_NEAR(at(160, 160), mirror, 12);
    EXPECT_LT(at(220, 100), mirror / 4) << "behind the block: shadow";
    EXPECT_GT(at(180, 100), mirror) << "before it: lit";
    // A block above the light shades upwards: the mapping keeps y the right way round.
    light({155, 60, 10, 8}, 1.0f);
    EXPECT_LT(at(160, 45), at(160, 155) / 4);
    // Half-size occluders on the map: the block stands half as far from the light,
    light({190, 94, 9, 12}, 0.5f);
    EXPECT_LT(at(182, 100), mirror / 4);
    // and is half as tall: 20 degrees below the axis is lit, though the full-size block covers it.
    EXPECT_GT(at(216, 120), mirror * 3 / 4);
}

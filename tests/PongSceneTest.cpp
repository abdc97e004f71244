#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "opening/ScenePong.h"
#include "render/Renderer.h"

namespace {
using Rgba = std::array<uint8_t, 4>;

int brightness(const Rgba& c) {
    return c[0] + c[1] + c[2];
}

// The paddle game made current the way a scene switch names it; nothing else leads there.
class PongScene : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.started());
        h.frame(0); // the main loop's clock starts
        h.enter(kPongScene);
        h.frame();
    }
    GameHarness h;
    ScenePong& pong = *h.scene<ScenePong>(kPongScene);
};
} // namespace

TEST_F(PongScene, ArrowsMoveThePaddleTheLightFollowsThePointerAndEscapeEndsTheGame) {
    // The window's middle is the logical screen's; the 3 x 3 light square is centred there.
    h.input().mx = 640;
    h.input().my = 360;
    h.frame();
    EXPECT_EQ(pong.lightSquare.x, 159);
    EXPECT_EQ(pong.lightSquare.y, 99);
    EXPECT_EQ(pong.lightSquare.w, 3);
    // 500 ms of fade-in: 32 frames of 16 ms, two of them run above.
    EXPECT_EQ(h.framesUntil([&] { return pong.state == Scene::Running; }), 30);
    h.input().mx = 5000; // kept on the screen
    h.input().my = -40;
    h.frame();
    EXPECT_EQ(pong.lightSquare.x, 319);
    EXPECT_EQ(pong.lightSquare.y, -1);
    h.input().mx = 30;
    h.input().my = 72;
    h.frame();
    EXPECT_EQ(pong.lightSquare.x, 6);
    EXPECT_EQ(pong.lightSquare.y, 19);

    const int32_t y = pong.table.leftPaddle.y;
    h.input().keys[SDL_SCANCODE_UP] = 1;
    h.frames(2);
    EXPECT_EQ(pong.table.leftPaddle.y, y - 2);
    h.input().keys[SDL_SCANCODE_UP] = 0;
    h.input().keys[SDL_SCANCODE_S] = 1; // WASD is on in the game
    h.frame();
    EXPECT_EQ(pong.table.leftPaddle.y, y - 1);
    h.input().keys[SDL_SCANCODE_S] = 0;

    pushKey(SDL_SCANCODE_ESCAPE);
    h.frame();
    EXPECT_EQ(pong.state, Scene::FadingOut);
    EXPECT_TRUE(GameWide<AudioSystem>::get()->musicState().fadingOut);
    EXPECT_EQ(h.framesUntil([] { return false; }, 100), 32) << "500 ms of fade-out, then the end";
    EXPECT_TRUE(h.scenes().quitRequested);
    EXPECT_EQ(h.currentNumber(), kPongScene) << "it switches nowhere";
}

TEST_F(PongScene, ABlockShadowsThePixelsBehindItFromTheLight) {
    Renderer* renderer = Renderer::instance();
    auto light = [&](PongRect block, float scale) {
        pong.table.blocks = {block};
        pong.occluderScale[0] = pong.occluderScale[1] = scale;
        renderer->clearTarget(0xFF000000u, Renderer::GameScreen);
        pong.drawLightWithShadows(160, 100, 0xFFFFFFFFu);
    };
    // One block 30..39 px right of a light at (160, 100), as tall as the light is high.
    light({190, 94, 9, 12}, 1.0f);
    const int mirror = brightness(GameHarness::pixel(100, 100));
    EXPECT_GT(mirror, 60);
    EXPECT_NEAR(brightness(GameHarness::pixel(160, 160)), mirror, 12);
    EXPECT_LT(brightness(GameHarness::pixel(220, 100)), mirror / 4) << "behind the block: shadow";
    EXPECT_GT(brightness(GameHarness::pixel(180, 100)), mirror) << "before it: lit";
    // A block above the light shades upwards: the mapping keeps y the right way round.
    light({155, 60, 10, 8}, 1.0f);
    EXPECT_LT(brightness(GameHarness::pixel(160, 45)), brightness(GameHarness::pixel(160, 155)) / 4);
    // Half-size occluders on the map: the block stands half as far from the light,
    light({190, 94, 9, 12}, 0.5f);
    EXPECT_LT(brightness(GameHarness::pixel(182, 100)), mirror / 4);
    // and is half as tall: 20 degrees below the axis is lit, though the full-size block covers it.
    EXPECT_GT(brightness(GameHarness::pixel(216, 120)), mirror * 3 / 4);
}

TEST_F(PongScene, TheSceneDrawsPaddlesScoreAndLightsOverTheGrid) {
    h.input().mx = 1200; // the player's light at the right edge, away from the left paddle
    h.input().my = 640;
    std::srand(5); // blocks that leave the paddle and the score in the light
    pong.table.rollBlocks();
    h.framesUntil([&] { return pong.state == Scene::Running; });
    pong.table.leftScore = 7;
    pong.table.rightScore = 12;
    h.frame();
    GameHarness::screenshot("paddle");
    // The left paddle (9..10 x 91..109) is light grey, or brighter under lights.
    const Rgba paddle = GameHarness::pixel(9, 100);
    EXPECT_GE(std::min({paddle[0], paddle[1], paddle[2]}), 230);
    // The score "7": its top bar from x = 80 at y = 1..3, and nothing left of it.
    EXPECT_GE(GameHarness::pixel(85, 2)[1], 230);
    EXPECT_LT(brightness(GameHarness::pixel(78, 2)), brightness(GameHarness::pixel(85, 2)));
    // Lights and the grid make many colours; a dead frame would be one.
    int distinct = 0;
    Rgba previous{};
    for (int x = 0; x < 320; x += 7) {
        const Rgba c = GameHarness::pixel(x, 150);
        distinct += c != previous;
        previous = c;
    }
    EXPECT_GT(distinct, 10);
}
